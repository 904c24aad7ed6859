#include "core/predict/OptionsFilePlace.h"

#include <filesystem>
#include <system_error>

#include "core/predict/PredictionOptions.h"
#include "core/store/SafeFile.h"

namespace rumone {

std::string optionsFilePath(const DatabaseLocation& location, const char* xdgConfigHome, const char* home)
{
    if (location.place == DatabaseLocation::Place::ProgramFolder)
        return kOptionsFileName;
    std::filesystem::path folder;
    if (xdgConfigHome && *xdgConfigHome && std::filesystem::path(xdgConfigHome).is_absolute())
        folder = xdgConfigHome;
    else if (home && *home)
        folder = std::filesystem::path(home) / ".config";
    else
        return kOptionsFileName;
    return (folder / "rumone" / kOptionsFileName).string();
}

bool moveOptionsFileInto(const std::string& path, const std::string& workingCopy)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path target(path);
    if (target.has_parent_path()) {
        if (fs::create_directories(target.parent_path(), error))
            fs::permissions(target.parent_path(), fs::perms::owner_all, fs::perm_options::replace, error);
    }
    if (fs::exists(target, error) || !fs::is_regular_file(workingCopy, error) ||
        fs::equivalent(workingCopy, target, error))
        return false;
    fs::rename(workingCopy, target, error);
    if (!error)
        return true;
    // Another file system: copied whole, then the old one removed.
    try {
        constexpr std::size_t kMaxOptionsBytes = 64 * 1024;
        replaceFileWith(path, readRegularFile(workingCopy, kMaxOptionsBytes));
    } catch (const std::exception&) {
        return false;
    }
    fs::remove(workingCopy, error);
    return true;
}

}  // namespace rumone
