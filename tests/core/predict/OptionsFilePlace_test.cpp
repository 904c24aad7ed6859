// Where the options file lives: the working folder for a portable copy,
// the user's configuration folder for an installed one, where a file left
// in the working folder moves once.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/predict/OptionsFilePlace.h"
#include "core/predict/PredictionOptions.h"
#include "support/TestSupport.h"

namespace rumone::test {
namespace {

TEST(OptionsFilePlace, PortableInTheWorkingFolderInstalledInTheConfigurationFolder)
{
    const DatabaseLocation portable{DatabaseLocation::Place::ProgramFolder, "/opt/r", {}};
    const DatabaseLocation installed{DatabaseLocation::Place::UserDataFolder, "/home/u/.local/share/rumone", {}};
    struct Case {
        const DatabaseLocation& location;
        const char* xdg;
        const char* home;
        std::string path;
    } cases[] = {
        {portable, "/x", "/home/u", kOptionsFileName},
        {installed, "/x", "/home/u", std::string("/x/rumone/") + kOptionsFileName},
        {installed, nullptr, "/home/u", std::string("/home/u/.config/rumone/") + kOptionsFileName},
        {installed, "relative", "/home/u", std::string("/home/u/.config/rumone/") + kOptionsFileName},
        {installed, nullptr, nullptr, kOptionsFileName},
    };
    for (const Case& c : cases)
        EXPECT_EQ(optionsFilePath(c.location, c.xdg, c.home), c.path) << (c.xdg ? c.xdg : "-");
}

TEST(OptionsFilePlace, AFileInTheWorkingFolderMovesOnceAndNeverOverAnother)
{
    TempDir dir;
    const std::string working = dir.path() + "/" + kOptionsFileName;
    const std::string target = dir.path() + "/config/rumone/" + kOptionsFileName;
    std::ofstream(working) << "old";
    EXPECT_TRUE(moveOptionsFileInto(target, working));
    EXPECT_FALSE(std::filesystem::exists(working));
    EXPECT_EQ(readBytes(target), "old");

    std::ofstream(working) << "older";
    EXPECT_FALSE(moveOptionsFileInto(target, working));  // the configuration folder's file wins
    EXPECT_EQ(readBytes(target), "old");
    EXPECT_TRUE(std::filesystem::exists(working));
}

}  // namespace
}  // namespace rumone::test
