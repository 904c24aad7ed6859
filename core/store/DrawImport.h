// What a bulk entry would do to the stored draws, worked out before
// anything is written: the draws that are new, those that would change
// (old and new both kept, so that each can be listed) and how many are
// already stored as they are.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "core/store/DrawDetailsStore.h"
#include "core/store/DrawStore.h"

namespace rumone {

struct ImportPreview {
    std::vector<EditRow> added;
    std::vector<std::pair<EditRow, EditRow>> changed;  // stored, incoming
    std::size_t unchanged = 0;
    // The dates and prizes that are new or differ from the stored ones.
    DetailsPreview details;

    // The rows a write changes: the new ones and the incoming side of the
    // changed ones, in draw order.
    std::vector<EditRow> rowsToWrite() const;
    bool writesNothing() const { return added.empty() && changed.empty() && details.empty(); }
};

// `incoming` in any order against `stored` (a draw number at most once in
// each). A stored row whose number is no integer never matches.
ImportPreview previewImport(const std::vector<EditRow>& incoming, const std::vector<EditRow>& stored);
// The same, with the dates and prizes the source gave against the stored ones.
ImportPreview previewImport(const std::vector<EditRow>& incoming, const DrawDetailsList& incomingDetails,
                            const std::vector<EditRow>& stored, const StoredDetails& storedDetails);

// "new N changed N unchanged N".
std::string importCountsLine(const ImportPreview& preview);
// "第7055回 1234" (a digit with no value is shown as "-").
std::string drawLineText(const EditRow& row);
// "第7055回 1234 → 1243" for each changed draw.
std::vector<std::string> changedLines(const ImportPreview& preview);

}  // namespace rumone
