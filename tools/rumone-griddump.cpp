// rumone-griddump DB VIEW [--reflect K]
// Prints the text dump of the grid that view VIEW (its window name) builds
// from the draw database DB, exactly as the view would build it.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "analysis/AnalysisView.h"
#include "history/DrawHistory.h"
#include "history/DrawStore.h"
#include "ui/GridDump.h"

using namespace rumone;

namespace {

int ListViews(const char* why)
{
    std::cerr << why << "\nknown views:\n";
    for (const AnalysisViewSpec& v : AnalysisViews())
        std::cerr << "  " << v.objectName << '\n';
    return 2;
}

DrawHistory LoadFrom(const std::string& dbPath)
{
    std::string folder = dbPath;
    const auto slash = folder.rfind('/');
    folder = slash == std::string::npos ? "." : folder.substr(0, slash);
    // The tool reads the file it is given, whatever its name.
    std::string cs = BuildConnectionString(folder);
    cs = cs.substr(0, cs.find(";Data Source=")) + ";Data Source=" + dbPath;
    DrawHistory h;
    h.LoadDrawHistory(cs);
    return h;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << "usage: rumone-griddump DB VIEW [--reflect K]\n";
        return ListViews("");
    }
    const std::string db = argv[1];
    const std::string view = argv[2];
    int reflect = 0;
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "--reflect") == 0 && i + 1 < argc)
            reflect = std::atoi(argv[++i]);
        else {
            std::cerr << "unknown argument: " << argv[i] << '\n';
            return 2;
        }
    }
    (void)reflect;
    const AnalysisViewSpec* spec = FindAnalysisView(view);
    if (!spec)
        return ListViews(("unknown view: " + view).c_str());
    try {
        const DrawHistory history = LoadFrom(db);
        ResultGrid grid;
        spec->build(grid, history);
        DumpGrid(grid, std::cout);
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
