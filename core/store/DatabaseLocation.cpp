#include "core/store/DatabaseLocation.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "core/store/CsvFile.h"
#include "core/store/DrawCsv.h"
#include "core/store/DrawStore.h"
#include "core/store/SafeFile.h"
#include "core/store/SampleDatabase.h"

namespace rumone {

namespace {

constexpr const char* kProgramName = "rumone";

// A link that points nowhere counts as no file, as it does for every
// reader of the database.
bool exists(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

bool isRegularFile(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string text(const char* value)
{
    return value == nullptr ? std::string() : std::string(value);
}

bool isAbsolute(const std::string& path)
{
    return !path.empty() && path.front() == '/';
}

// The user's data folder: $XDG_DATA_HOME when it is an absolute path (a
// relative one is to be ignored), else ~/.local/share under an absolute
// $HOME; empty when neither can be told.
std::string userDataHome(const DatabaseSurroundings& s)
{
    if (isAbsolute(s.xdgDataHome))
        return s.xdgDataHome;
    if (isAbsolute(s.home))
        return (std::filesystem::path(s.home) / ".local/share").string();
    return {};
}

// Whether the database belongs in the user's data folder: none beside the
// program, and a copy that is installed (it never writes into its bin
// folder, also where it could: run by root, or installed under the user's
// own prefix) or may not write its folder.
bool wantsDataFolder(const DatabaseSurroundings& s)
{
    const bool installed = !s.shippedDraws.empty();
    return !s.programFolderHoldsDatabase && (installed || !s.programFolderWritable);
}

// Every missing folder of `folder`, made with mode 0700.
void makeFolders(const std::string& folder)
{
    std::filesystem::path made;
    for (const std::filesystem::path& part : std::filesystem::path(folder).lexically_normal()) {
        made /= part;
        if (part.empty() || exists(made.string()))
            continue;
        if (mkdir(made.string().c_str(), 0700) != 0 && errno != EEXIST)
            throw DatabaseSetupError("フォルダー「" + made.string() + "」を作成できません（" + std::strerror(errno) +
                                     "）。");
    }
}

std::string drawSpan(const std::vector<EditRow>& draws)
{
    if (draws.empty())
        return "0回分";
    return "第" + std::to_string(draws.front().number.integer) + "回～第" +
           std::to_string(draws.back().number.integer) + "回";
}

}  // namespace

std::string sharedDataFolder(const std::string& programFolder)
{
    return ((std::filesystem::path(programFolder) / "..").lexically_normal() / "share" / kProgramName).string();
}

DatabaseSurroundings observeSurroundings(const std::string& programFolder, const char* xdgDataHome, const char* home)
{
    DatabaseSurroundings s;
    s.programFolder = programFolder;
    s.programFolderHoldsDatabase = exists(programFolder + "/" + kDatabaseFileName);
    s.programFolderWritable = access(programFolder.c_str(), W_OK) == 0;
    const std::string shipped = sharedDataFolder(programFolder) + "/" + kShippedDrawsFileName;
    if (isRegularFile(shipped))
        s.shippedDraws = shipped;
    s.xdgDataHome = text(xdgDataHome);
    s.home = text(home);
    return s;
}

std::string DatabaseLocation::databasePath() const
{
    return folder + "/" + kDatabaseFileName;
}

DatabaseLocation chooseDatabaseLocation(const DatabaseSurroundings& s)
{
    const DatabaseLocation beside{DatabaseLocation::Place::ProgramFolder, s.programFolder, {}};
    if (!wantsDataFolder(s))
        return beside;
    const std::string dataHome = userDataHome(s);
    if (dataHome.empty())
        return beside;
    return {DatabaseLocation::Place::UserDataFolder, (std::filesystem::path(dataHome) / kProgramName).string(),
            s.shippedDraws};
}

std::string whyNoDataFolder(const DatabaseSurroundings& s)
{
    if (!wantsDataFolder(s) || !userDataHome(s).empty())
        return {};
    const auto clause = [](const std::string& name, const std::string& value) {
        return value.empty() ? "環境変数 " + name + " が設定されていません"
                             : "環境変数 " + name + " の「" + value + "」が絶対パスではありません";
    };
    return clause("XDG_DATA_HOME", s.xdgDataHome) + "。" + clause("HOME", s.home) + "。";
}

std::string prepareDatabase(const DatabaseLocation& location)
{
    const std::string path = location.databasePath();
    if (location.shippedDraws.empty() || exists(path))
        return {};
    try {
        makeFolders(location.folder);
        const DrawsWithDetails shipped = parseDrawCsvWithDetails(readCsvFile(location.shippedDraws));
        const std::vector<EditRow>& draws = shipped.rows;
        if (createDrawDatabaseWith(path, draws, shipped.details) == BuildOutcome::AlreadyThere)
            return {};
        return "同梱の当選データ（" + drawSpan(draws) +
               "）で、利用者のデータフォルダーにデータベースを作成しました: " + path;
    } catch (const DatabaseSetupError&) {
        throw;
    } catch (const DrawCsvError& e) {
        throw DatabaseSetupError("データベース「" + path + "」を作成できませんでした。\n「" + location.shippedDraws +
                                 "」の " + e.what());
    } catch (const std::exception& e) {
        throw DatabaseSetupError("データベース「" + path + "」を作成できませんでした。\n" + e.what());
    }
}

StartingDatabase prepareStartingDatabase(const std::string& programFolder)
{
    StartingDatabase start;
    if (programFolder.empty())
        return start;
    const DatabaseSurroundings surroundings =
        observeSurroundings(programFolder, std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    start.location = chooseDatabaseLocation(surroundings);
    if (const std::string why = whyNoDataFolder(surroundings); !why.empty()) {
        start.problem = "データベースを置く利用者のデータフォルダーが分かりません。" + why +
                        "\n環境変数 XDG_DATA_HOME か HOME に絶対パスのフォルダーを設定してから起動してください。";
        return start;
    }
    try {
        start.note = prepareDatabase(start.location);
    } catch (const DatabaseSetupError& e) {
        start.problem = e.what();
    }
    return start;
}

std::string databaseInUseText(const DatabaseLocation& location)
{
    if (location.folder.empty())
        return {};
    const char* place = location.place == DatabaseLocation::Place::ProgramFolder ? "プログラムのフォルダー"
                                                                                 : "利用者のデータフォルダー";
    return location.databasePath() + "（" + place + "）";
}

}  // namespace rumone
