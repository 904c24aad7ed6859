// Where new draws come from: a file on disk or text pasted into the
// program. One entry for every reader of draws (the entry view, rumone-db):
// the source is read within the limits of its kind, decoded once, read in
// whichever shape it has and handed back as draws, each with what the
// source adds (its date and prize lines) and the line it stood on.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/history/DrawResults.h"
#include "core/store/CsvFile.h"
#include "core/store/DrawStore.h"

namespace rumone {

struct ImportPreview;

// One draw as a source gives it: its number, its digits (a digit the
// source leaves empty has none), what else the source says of it and the
// 1-based line it starts on.
struct SourceDraw {
    int number = 0;
    std::array<std::optional<int>, 4> digits;
    DrawDetails details;
    int line = 0;
};

enum class SourceKind { File, Pasted };

// What a source of a kind may hold: no line longer than lineBytes, no more
// than totalBytes in all. No list of draws comes anywhere near either; more
// means something that is no list of draws (or a device that never ends).
struct SourceLimits {
    std::size_t lineBytes;
    std::size_t totalBytes;
};
constexpr SourceLimits sourceLimits(SourceKind kind)
{
    // Pasted text is held to what a file may hold.
    return kind == SourceKind::File ? SourceLimits{kMaxCsvLineBytes, kMaxCsvFileBytes}
                                    : SourceLimits{kMaxCsvLineBytes, kMaxCsvFileBytes};
}

// A source that cannot be read as draws. line() is where it stops (0 when
// no line is to blame); what() is "N行目: reason", or the reason alone;
// path() is the file it stops in ("" for pasted text).
class DrawSourceError : public std::runtime_error {
public:
    DrawSourceError(int line, const std::string& reason, std::string path = {});
    int line() const { return line_; }
    const std::string& reason() const { return reason_; }
    const std::string& path() const { return path_; }

private:
    int line_;
    std::string reason_;
    std::string path_;
};

// Told how many bytes of the text have been read, of how many.
using SourceProgress = std::function<void(std::size_t done, std::size_t total)>;

// The draws of decoded (UTF-8) text. Throws DrawSourceError for text over
// the limits of its kind and at the first line that cannot be read, so
// that nothing is half-read. A draw number is given at most once.
std::vector<SourceDraw> parseDrawSource(std::string_view text, SourceKind kind, const SourceProgress& progress = {});
// The same for the bytes of a file, in UTF-8 (with or without a byte order
// mark) or CP932, decided by the bytes.
std::vector<SourceDraw> parseDrawSourceBytes(std::string_view bytes, const SourceProgress& progress = {});
// The file at `path`, read within the file limits, then parsed. Throws
// CsvFileError (CsvFile.h) or DrawSourceError.
std::vector<SourceDraw> readDrawSource(const std::string& path, const SourceProgress& progress = {});

// The files at `paths` read as one source, each as readDrawSource reads
// it; a draw that two files give is refused, naming both.
std::vector<SourceDraw> readDrawSources(const std::vector<std::string>& paths, const SourceProgress& progress = {});

// How the user names a source in a message: "CSV ファイル「path」", or
// "貼り付けた文字" for an empty path.
std::string sourceName(const std::string& path);
// "<source>を取り込めません。\n\n<N行目: reason>\n\n何も取り込んでいません。",
// the source named by the error's path or else by `path`.
std::string sourceRefusal(const std::string& path, const DrawSourceError& error);
// What is said of a source without a single draw.
std::string emptySourceNote(const std::string& path);

// "第7073回 6916（2026年9月17日、ストレート 18口 986,400円、ボックス 該当なし）":
// a draw with its digits ("-" for one the source left empty) and what
// else its source gave.
std::string sourceDrawText(const SourceDraw& draw);
// sourceDrawText of each new draw of `preview`, in draw order, taken from
// `draws` (the draws the preview was made of).
std::vector<std::string> newDrawLines(const ImportPreview& preview, const std::vector<SourceDraw>& draws);

// The draws as rows of the draw table, in the same order.
std::vector<EditRow> editRowsFrom(const std::vector<SourceDraw>& draws);
// The details the draws carry, by draw number (draws without any left out).
std::vector<std::pair<int, DrawDetails>> detailsFrom(const std::vector<SourceDraw>& draws);

}  // namespace rumone
