// The source tree keeps its shape: the core library knows nothing of Qt or
// the windows, its folders depend on each other only downwards, and no file
// reaches up into the program's start-up.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kSourceDir = RUMONE_SOURCE_DIR;

// The folders of the core library and the core folders each may include.
const std::map<std::string, std::set<std::string>> kCoreMayInclude = {
    {"history", {"history", "text"}},
    {"grid", {"grid", "text"}},
    {"text", {"text"}},
    {"calendar", {"calendar", "history"}},
    {"prizes", {"prizes", "store", "calendar", "history", "grid", "text"}},
    {"store", {"store", "calendar", "history", "text"}},
    {"stats", {"stats"}},
    {"digest", {"digest"}},
    {"analysis", {"analysis", "stats", "history", "grid"}},
    {"predict", {"predict", "store", "history", "grid", "text"}},
    {"backtest", {"backtest", "digest", "stats", "prizes", "predict", "store", "history", "grid"}},
    {"tickets", {"tickets", "backtest", "stats", "prizes", "store", "calendar", "history", "grid", "text"}},
    {"rules", {"rules", "digest", "tickets", "backtest", "stats", "prizes", "predict", "store", "history", "text"}},
};

// The folders of the window library and the window folders each may
// include; the main window, at the library's top, may include them all.
const std::map<std::string, std::set<std::string>> kGuiMayInclude = {
    {"common", {"common"}},
    {"charts", {"charts", "common"}},
    {"grid", {"grid", "common"}},
    {"analysis", {"analysis", "grid", "common", "charts"}},
    {"entry", {"entry", "grid", "common"}},
    {"predict", {"predict", "grid", "common"}},
    {"prizes", {"prizes", "grid", "common"}},
    {"tickets", {"tickets", "grid", "common"}},
    {"backtest", {"backtest", "predict", "grid", "common", "charts"}},
    {"help", {"help", "common"}},
    {"rules", {"rules", "common", "charts"}},
};

struct Include {
    std::string file;  // relative to the source folder
    std::string target;
    bool angled;
};

std::vector<Include> includesUnder(const std::string& folder)
{
    static const std::regex include(R"re(^\s*#\s*include\s*([<"])([^>"]+)[>"])re");
    std::vector<Include> out;
    for (const auto& entry : fs::recursive_directory_iterator(kSourceDir / folder)) {
        const std::string ext = entry.path().extension().string();
        if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp"))
            continue;
        std::ifstream in(entry.path());
        std::string line;
        std::smatch m;
        while (std::getline(in, line))
            if (std::regex_search(line, m, include))
                out.push_back({fs::relative(entry.path(), kSourceDir).generic_string(), m[2], m[1] == "<"});
    }
    return out;
}

std::string secondPart(const std::string& path)  // "core/store/X.h" -> "store"
{
    const auto first = path.find('/');
    const auto second = path.find('/', first + 1);
    return second == std::string::npos ? std::string() : path.substr(first + 1, second - first - 1);
}

std::string joined(const std::vector<std::string>& lines)
{
    std::string all;
    for (const std::string& line : lines)
        all += line + "\n";
    return all;
}

}  // namespace

TEST(Layout, CoreIncludesNoQtNoWindowsAndOnlyLowerCoreFolders)
{
    std::vector<std::string> faults;
    for (const Include& inc : includesUnder("core")) {
        const std::string from = secondPart(inc.file);
        if (inc.angled && (inc.target.rfind("Q", 0) == 0 || inc.target.rfind("qt", 0) == 0))
            faults.push_back(inc.file + " includes Qt: " + inc.target);
        if (inc.angled)
            continue;
        if (inc.target.rfind("core/", 0) != 0) {
            faults.push_back(inc.file + " includes outside the core: " + inc.target);
            continue;
        }
        const auto allowed = kCoreMayInclude.find(from);
        if (allowed == kCoreMayInclude.end())
            faults.push_back(inc.file + " stands in a core folder that has no place in the dependency table");
        else if (!allowed->second.count(secondPart(inc.target)))
            faults.push_back(inc.file + " includes upward: " + inc.target);
    }
    EXPECT_TRUE(faults.empty()) << joined(faults);
}

TEST(Layout, WindowFoldersIncludeOnlyTheCoreAndLowerWindowFolders)
{
    std::vector<std::string> faults;
    for (const Include& inc : includesUnder("gui")) {
        const std::string from = secondPart(inc.file);
        if (inc.angled || from.empty() || inc.target.rfind("core/", 0) == 0)
            continue;  // the main window's folder may use every window folder
        const auto allowed = kGuiMayInclude.find(from);
        if (allowed == kGuiMayInclude.end())
            faults.push_back(inc.file + " stands in a window folder that has no place in the dependency table");
        else if (inc.target.rfind("gui/", 0) != 0 || !allowed->second.count(secondPart(inc.target)))
            faults.push_back(inc.file + " includes upward: " + inc.target);
    }
    EXPECT_TRUE(faults.empty()) << joined(faults);
}

TEST(Layout, NothingIncludesTheProgramsStartUp)
{
    for (const char* folder : {"core", "gui", "tools", "bench", "tests"})
        for (const Include& inc : includesUnder(folder))
            EXPECT_NE(inc.target.rfind("app/", 0), 0u) << inc.file << " includes " << inc.target;
}
