// Where the program keeps its database: beside a portable copy, in the
// user's data folder for an installed one, made there once from the
// shipped history.
#include "core/store/DatabaseLocation.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "core/store/DrawStore.h"
#include "support/TestSupport.h"

namespace rumone::test {
namespace {

using Place = DatabaseLocation::Place;

TEST(DatabaseLocation, ChoosesTheFolderFromWhatIsThere)
{
    const std::string shipped = "/usr/share/rumone/draws.csv";
    struct Case {
        const char* what;
        bool holds, writable;
        std::string shippedDraws, xdg, home;
        DatabaseLocation expected;
    };
    const DatabaseLocation beside{Place::ProgramFolder, "/p/bin", {}};
    const Case cases[] = {
        {"a database beside it is used, installed or not", true, false, shipped, "/x", "/h", beside},
        {"a writable folder of a copy that is not installed", false, true, "", "/x", "/h", beside},
        {"an installed copy never writes into its bin folder",
         false,
         true,
         shipped,
         "/x",
         "/h",
         {Place::UserDataFolder, "/x/rumone", shipped}},
        {"installed, no XDG_DATA_HOME",
         false,
         false,
         shipped,
         "",
         "/h",
         {Place::UserDataFolder, "/h/.local/share/rumone", shipped}},
        {"a relative XDG_DATA_HOME is ignored",
         false,
         false,
         shipped,
         "rel",
         "/h",
         {Place::UserDataFolder, "/h/.local/share/rumone", shipped}},
        {"a read-only copy without shipped history",
         false,
         false,
         "",
         "/x",
         "/h",
         {Place::UserDataFolder, "/x/rumone", ""}},
        {"nowhere else to go", false, false, shipped, "", "", beside},
    };
    for (const Case& c : cases) {
        const DatabaseSurroundings s{"/p/bin", c.holds, c.writable, c.shippedDraws, c.xdg, c.home};
        EXPECT_EQ(chooseDatabaseLocation(s), c.expected) << c.what;
    }
}

TEST(DatabaseLocation, SharedFolderSitsBesideTheBinFolder)
{
    EXPECT_EQ(sharedDataFolder("/usr/bin"), "/usr/share/rumone");
    EXPECT_EQ(sharedDataFolder("/opt/r/bin/"), "/opt/r/share/rumone");
}

// An installed copy with a relative XDG_DATA_HOME and no HOME has no data
// folder: the start says why, naming both, and makes nothing.
TEST(DatabaseLocation, NoDataFolderIsAProblemThatSaysWhy)
{
    TempDir dir;
    std::filesystem::create_directories(dir.file("share/rumone"));
    std::filesystem::create_directories(dir.file("bin"));
    std::filesystem::copy_file(realDrawsPath(), dir.file("share/rumone/draws.csv"));
    const EnvForTest xdg("XDG_DATA_HOME", "data");
    const EnvForTest home("HOME", nullptr);
    const StartingDatabase start = prepareStartingDatabase(dir.file("bin"));
    EXPECT_NE(start.problem.find("XDG_DATA_HOME の「data」が絶対パスではありません"), std::string::npos)
        << start.problem;
    EXPECT_NE(start.problem.find("HOME が設定されていません"), std::string::npos) << start.problem;
    EXPECT_FALSE(std::filesystem::exists(dir.file("bin/Rumone.mdb")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("data")));
}

// The first start makes the folders (0700) and the database from the shipped
// history; later starts leave it as it is; a bad history leaves no file.
TEST(DatabaseLocation, PreparesTheUsersDatabaseOnce)
{
    TempDir dir;
    const DatabaseLocation location{Place::UserDataFolder, dir.file("data/rumone"), realDrawsPath()};
    const std::string note = prepareDatabase(location);
    EXPECT_NE(note.find("第1回～第"), std::string::npos) << note;
    EXPECT_NE(note.find(location.databasePath()), std::string::npos) << note;
    struct stat st {};
    ASSERT_EQ(stat(dir.file("data").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    const DrawHistory history = loadDrawHistory(drawDatabaseAt(location.databasePath()));
    const std::optional<std::vector<Row>> real = realDraws();
    ASSERT_TRUE(real);
    EXPECT_EQ(history.latestDrawNumber(), real->back().number);

    EXPECT_EQ(prepareDatabase(location), "");
    EXPECT_EQ(prepareDatabase(DatabaseLocation{Place::ProgramFolder, dir.path(), {}}), "");
    EXPECT_FALSE(std::filesystem::exists(dir.file("Rumone.mdb")));

    std::ofstream(dir.file("bad.csv")) << "回数,第1数字,第2数字,第3数字,第4数字\n1,1,2,3,x\n";
    const DatabaseLocation bad{Place::UserDataFolder, dir.file("other"), dir.file("bad.csv")};
    EXPECT_THROW(prepareDatabase(bad), DatabaseSetupError);
    EXPECT_FALSE(std::filesystem::exists(bad.databasePath()));
}

}  // namespace
}  // namespace rumone::test
