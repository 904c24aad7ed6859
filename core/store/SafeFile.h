// The program's files on the disk: descriptors that close themselves,
// whole regular files read within a bound, and files that appear whole or
// not at all, written so that nothing already on the disk is followed or
// overwritten by accident.
#pragma once

#include <sys/types.h>
#include <cstddef>

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

namespace rumone {

// A POSIX file descriptor, closed on destruction.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    ~FileDescriptor() { close(); }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&&) = delete;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now; false when the close reports an error (data not written).
    bool close();

private:
    int fd_;
};

// A file that could not be read whole. what() says why, as the end of a
// Japanese sentence that names the file: "フォルダーです。" and the like.
class FileReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The bytes of the regular file at `path`. It is opened without waiting,
// so that a pipe or device under the name never hangs the reader. Throws
// FileReadError for a missing or unreadable file, a folder, a device or
// pipe, or a file of more than `maxBytes` (also one that grows past them
// while it is read).
std::string readRegularFile(const std::string& path, std::size_t maxBytes);

// A file that could not be written. what() is a plain Japanese sentence
// naming the file.
class FileWriteError : public std::runtime_error {
public:
    FileWriteError(const std::string& message, int error) : std::runtime_error(message), error_(error) {}
    int error() const { return error_; }  // errno

private:
    int error_;
};

// `path` with the symbolic links at its last component followed, also to
// a target that does not exist (yet). `path` itself when it is no link or
// when the links go round in a circle (still a link then).
std::string resolveLinks(const std::string& path);

// The folder part of `path`: "." for a bare name, "/" for a file at the root.
std::string folderOf(const std::string& path);

// A new file that takes the place of the one at `path` (after
// resolveLinks) once it is whole: made beside its target, created
// exclusively so that no existing file or link is touched, with the
// target's permissions (less the set-id bits) and, where the system lets
// the user, its owner and group; a file not there yet gets the usual
// permissions. A circle of links, a folder, a pipe, a device or a socket
// at the target is refused before anything is made. Until commit() the
// target is untouched; the destructor removes an uncommitted new file.
class FileReplacement {
public:
    // Throws FileWriteError.
    explicit FileReplacement(const std::string& path);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // The new file, open for writing; a writer may also open it by name.
    const std::string& newPath() const { return temp_; }
    int descriptor() const { return fd_.get(); }
    // Syncs the new file and renames it over the target. Throws
    // FileWriteError, the target then as it was.
    void commit();

    struct Existing {
        uid_t owner;
        gid_t group;
        mode_t mode;
    };

private:
    std::string path_;
    std::string target_;
    std::optional<Existing> existing_;  // the regular file at the target
    std::string temp_;
    FileDescriptor fd_;
    bool committed_ = false;
};

// Replaces the file at `path` with `bytes` through a FileReplacement,
// synced. On failure the old file is as it was, the temporary file is
// gone and FileWriteError is thrown.
void replaceFileWith(const std::string& path, const std::string& bytes);

// A fresh empty file "<path>.tmp-XXXXXX" beside `path` (no link
// followed), created exclusively with the usual permissions, for a writer
// that needs a name to fill and then rename over `path`. Throws
// FileWriteError.
std::string createEmptyBeside(const std::string& path);

// Removes what replaceFileWith or a writer of createEmptyBeside left beside `path` (after resolveLinks) when
// it was killed before its rename: "<name>.tmp-XXXXXX", and "<name>.tmpXXXXXXXX"
// of earlier versions. Only files older than a minute go: a copy of the
// program writing now has its temporary for a moment only.
void removeStaleTemporaries(const std::string& path);

enum class BuildOutcome { Linked, AlreadyThere };

// Builds a new file for `path` (after resolveLinks): `build` fills a fresh
// empty file "<path>.new-XXXXXX" beside it, which is linked to `path` only
// when `build` returns, so that an interruption never leaves a half-made
// file under `path`. AlreadyThere when a file appeared at `path` meanwhile
// (it is left alone). Temporaries that a killed build left beside `path`
// are removed first; a running build keeps its own (it holds a lock on it).
// Throws what `build` throws, or FileWriteError.
BuildOutcome buildThenLink(const std::string& path, const std::function<void(const std::string& tempPath)>& build);

}  // namespace rumone
