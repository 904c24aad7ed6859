#include "core/store/SafeFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <memory>
#include <random>
#include <string_view>

namespace rumone {

namespace {

constexpr const char* kBuildSuffix = ".new-";
constexpr std::size_t kRandomLength = 6;
constexpr int kMaxLinkHops = 40;

struct DirCloser {
    void operator()(DIR* d) const noexcept { closedir(d); }
};

std::string baseNameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string reasonOf(int err)
{
    return std::strerror(err);
}

FileWriteError writeError(const std::string& path, int err)
{
    return FileWriteError("「" + path + "」に書き込めません（" + reasonOf(err) + "）。", err);
}

bool writeAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// A write refused for what is at its target (`mode`, from lstat).
FileWriteError refusedTarget(const std::string& path, mode_t mode)
{
    const char* what = S_ISLNK(mode)    ? "シンボリックリンクが循環しています"
                       : S_ISDIR(mode)  ? "フォルダーです"
                       : S_ISFIFO(mode) ? "名前付きパイプです"
                       : S_ISSOCK(mode) ? "ソケットです"
                                        : "デバイスです";
    const int err = S_ISLNK(mode) ? ELOOP : S_ISDIR(mode) ? EISDIR : EINVAL;
    return FileWriteError("「" + path + "」には書き出せません（" + what + "）。書き出せるのは通常のファイルだけです。",
                          err);
}

// The regular file at `target` (`path` after resolveLinks); nullopt when
// nothing is there. Throws FileWriteError for anything else.
std::optional<FileReplacement::Existing> existingTarget(const std::string& path, const std::string& target)
{
    struct stat st {};
    if (::lstat(target.c_str(), &st) != 0) {
        if (errno == ENOENT)
            return std::nullopt;
        throw writeError(path, errno);
    }
    if (!S_ISREG(st.st_mode))
        throw refusedTarget(path, st.st_mode);
    return FileReplacement::Existing{st.st_uid, st.st_gid, st.st_mode};
}

void syncFolder(const std::string& folder)
{
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid())
        ::fsync(dir.get());  // the new name is durable; a failure loses nothing written
}

// A fresh file "<path><suffix>" and six random letters, created
// exclusively with the usual permissions (0666 less the umask, as any new
// file of the user's).
FileDescriptor createTemporary(const std::string& path, const char* suffix, std::string& tempPath, mode_t mode = 0666)
{
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device random;
    for (int attempt = 0; attempt < 64; ++attempt) {
        tempPath = path + suffix;
        for (std::size_t i = 0; i < kRandomLength; ++i)
            tempPath += kLetters[random() % (sizeof kLetters - 1)];
        FileDescriptor fd(::open(tempPath.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
        if (fd.valid() || errno != EEXIST)
            return fd;
    }
    return FileDescriptor();
}

bool isBuildTemporaryName(const std::string& name, const std::string& base, std::string_view ending)
{
    const std::string prefix = base + kBuildSuffix;
    return name.size() == prefix.size() + kRandomLength + ending.size() &&
           name.compare(0, prefix.size(), prefix) == 0 &&
           std::string_view(name).substr(prefix.size() + kRandomLength) == ending;
}

// Removes the temporaries of builds of `path` that are no longer running:
// a running build holds an exclusive lock on its file.
void removeStaleBuilds(const std::string& path)
{
    const std::string folder = folderOf(path);
    const std::string base = baseNameOf(path);
    std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
    if (!dir)
        return;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string name = entry->d_name;
        const std::string full = folder + "/" + name;
        if (isBuildTemporaryName(name, base, "")) {
            FileDescriptor fd(::open(full.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
            if (fd.valid() && ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) {
                ::unlink(full.c_str());
                ::unlink((full + "-journal").c_str());
            }
        } else if (isBuildTemporaryName(name, base, "-journal")) {
            const std::string database = full.substr(0, full.size() - std::strlen("-journal"));
            struct stat st {};
            if (::lstat(database.c_str(), &st) != 0 && errno == ENOENT)
                ::unlink(full.c_str());  // its database is gone: nothing to roll back
        }
    }
}

// "<base><marker>" and `length` more letters or digits.
bool isTemporaryName(const std::string& name, const std::string& base, std::string_view marker, std::size_t length)
{
    const std::size_t prefix = base.size() + marker.size();
    if (name.size() != prefix + length || name.compare(0, base.size(), base) != 0 ||
        std::string_view(name).substr(base.size(), marker.size()) != marker)
        return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix), name.end(),
                       [](unsigned char c) { return std::isalnum(c) != 0; });
}

std::string tooLarge(std::size_t maxBytes)
{
    return "大きすぎます（" + std::to_string(maxBytes >> 20) + " MB を超えています）。";
}

}  // namespace

bool FileDescriptor::close()
{
    const int fd = std::exchange(fd_, -1);
    return fd < 0 || ::close(fd) == 0;
}

std::string readRegularFile(const std::string& path, std::size_t maxBytes)
{
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st {};
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0)
        throw FileReadError("（" + reasonOf(errno) + "）");
    if (S_ISDIR(st.st_mode))
        throw FileReadError("フォルダーです。");
    if (!S_ISREG(st.st_mode))
        throw FileReadError("通常のファイルではありません（デバイスやパイプなど）。");
    if (static_cast<unsigned long long>(st.st_size) > maxBytes)
        throw FileReadError(tooLarge(maxBytes));
    std::string bytes;
    char buffer[65536];
    while (true) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw FileReadError("（" + reasonOf(errno) + "）");
        if (n == 0)
            return bytes;
        bytes.append(buffer, static_cast<std::size_t>(n));
        if (bytes.size() > maxBytes)
            throw FileReadError(tooLarge(maxBytes));
    }
}

std::string createEmptyBeside(const std::string& path)
{
    std::string temp;
    if (!createTemporary(path, ".tmp-", temp).valid())
        throw writeError(path, errno);
    return temp;
}

void removeStaleTemporaries(const std::string& path)
{
    constexpr std::time_t kStaleSeconds = 60;
    const std::string target = resolveLinks(path);
    const std::string folder = folderOf(target);
    const std::string base = baseNameOf(target);
    std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
    if (!dir)
        return;
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (!isTemporaryName(name, base, ".tmp-", kRandomLength) && !isTemporaryName(name, base, ".tmp", 8))
            continue;
        const std::string full = folder + "/" + name;
        struct stat st {};
        if (::lstat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode) && now - st.st_mtime > kStaleSeconds)
            ::unlink(full.c_str());
    }
}

std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string resolveLinks(const std::string& path)
{
    std::string current = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        char target[PATH_MAX];
        const ssize_t n = ::readlink(current.c_str(), target, sizeof target - 1);
        if (n <= 0)
            return current;
        const std::string next(target, static_cast<std::size_t>(n));
        current = next.front() == '/' ? next : folderOf(current) + "/" + next;
    }
    return path;  // a circle of links: still a link, which FileReplacement refuses
}

FileReplacement::FileReplacement(const std::string& path)
    : path_(path),
      target_(resolveLinks(path)),
      existing_(existingTarget(path_, target_)),
      // An existing file's contents never sit in a file more open than it.
      fd_(createTemporary(target_, ".tmp-", temp_, existing_ ? 0600 : 0666))
{
    if (!fd_.valid())
        throw writeError(path_, errno);
    if (existing_) {
        (void)!::fchown(fd_.get(), existing_->owner, existing_->group);  // allowed to root, or to a group of the user's
        if (::fchmod(fd_.get(), existing_->mode & 0777) != 0) {
            const int err = errno;
            ::unlink(temp_.c_str());
            throw writeError(path_, err);
        }
    }
}

FileReplacement::~FileReplacement()
{
    if (!committed_)
        ::unlink(temp_.c_str());
}

void FileReplacement::commit()
{
    // A writer that opened the file by name has closed its own descriptor;
    // this one still reaches the same file.
    int err = ::fsync(fd_.get()) == 0 ? 0 : errno;
    if (!fd_.close() && err == 0)
        err = errno;
    if (err == 0 && ::rename(temp_.c_str(), target_.c_str()) != 0)
        err = errno;
    if (err != 0)
        throw writeError(path_, err);
    committed_ = true;
    syncFolder(folderOf(target_));
}

void replaceFileWith(const std::string& path, const std::string& bytes)
{
    FileReplacement replacement(path);
    if (!writeAll(replacement.descriptor(), bytes))
        throw writeError(path, errno);
    replacement.commit();
}

BuildOutcome buildThenLink(const std::string& path, const std::function<void(const std::string& tempPath)>& build)
{
    const std::string target = resolveLinks(path);
    removeStaleBuilds(target);
    std::string temp;
    FileDescriptor fd = createTemporary(target, kBuildSuffix, temp);
    if (!fd.valid())
        throw writeError(path, errno);
    // Held until the build is linked: a later run sees the file is in use.
    ::flock(fd.get(), LOCK_EX);
    try {
        build(temp);
    } catch (...) {
        ::unlink(temp.c_str());
        ::unlink((temp + "-journal").c_str());
        throw;
    }
    const int linked = ::link(temp.c_str(), target.c_str());
    const int err = errno;
    ::unlink(temp.c_str());
    if (linked != 0) {
        if (err == EEXIST)
            return BuildOutcome::AlreadyThere;
        throw writeError(path, err);
    }
    syncFolder(folderOf(target));
    return BuildOutcome::Linked;
}

}  // namespace rumone
