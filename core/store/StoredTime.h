// The moments the database keeps (a draw's first entry, a prediction's
// record): stored as UTC texts with the zone written, "2026-12-09T09:50:03Z",
// compared as times and shown in the local time of the computer showing
// them.
//
// Versions before these texts wrote the local time without a zone,
// "2026-12-09 18:50:03". Such a text is read as the local time of the
// computer reading it (TZ, else the system's zone): the program keeps its
// database on one computer, whose zone wrote it. Stored texts are never
// rewritten (the prediction log's hash chain covers them).
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace rumone {

using StoredTime = std::chrono::sys_seconds;

// Now, to the second.
StoredTime storedTimeNow();

// "YYYY-MM-DDTHH:MM:SSZ".
std::string storedTimeText(StoredTime time);

// A stored text of either form; nullopt for anything else.
std::optional<StoredTime> parseStoredTime(std::string_view text);

// "YYYY-MM-DD HH:MM:SS" in the local time, for showing.
std::string localTimeText(StoredTime time);

}  // namespace rumone
