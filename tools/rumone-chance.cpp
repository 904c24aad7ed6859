// rumone-chance DB VIEW [--last N]
// Prints view VIEW's (its window name) figures beside chance, one line per
// item: "chance", the item, the observed count, the chance expectation
// (two decimals), the low and high ends of the simultaneous range and
// within, above or below (none below 30 draws, where nothing is judged). --last N counts only the N latest complete
// draws. Exit 2 for a view that is unknown or has no figures.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "core/analysis/AnalysisView.h"
#include "core/store/DrawStore.h"

using namespace rumone;

namespace {

int listViews(const std::string& why)
{
    std::cerr << why << "\nviews with figures:\n";
    for (const AnalysisViewSpec& v : analysisViews())
        if (v.chance)
            std::cerr << "  " << v.objectName << '\n';
    return 2;
}

// A count of draws: a whole number from 1 up, or -1.
int parseLast(const std::string& text)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    const int n = std::stoi(text);
    return n > 0 ? n : -1;
}

std::string twoDecimals(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    return buffer;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << "usage: rumone-chance DB VIEW [--last N]\n";
        return listViews("");
    }
    const std::string db = argv[1];
    const std::string view = argv[2];
    int last = 0;
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "--last") == 0 && i + 1 < argc) {
            last = parseLast(argv[++i]);
            if (last < 0) {
                std::cerr << "--last takes a count of draws from 1 up: " << argv[i] << '\n';
                return 2;
            }
        } else {
            std::cerr << "unknown argument: " << argv[i] << '\n';
            return 2;
        }
    }
    const AnalysisViewSpec* spec = findAnalysisView(view);
    if (!spec)
        return listViews("unknown view: " + view);
    if (!spec->chance)
        return listViews("no figures beside chance for: " + view);
    try {
        const DrawHistory history = loadDrawHistory(drawDatabaseAt(db));
        const ChanceFigures figures = spec->chance(latestDraws(history, last));
        for (const ChanceItem& item : figures.items)
            std::cout << "chance\t" << item.label << '\t' << item.observed << '\t' << twoDecimals(item.expected())
                      << '\t' << item.range.low << '\t' << item.range.high << '\t' << verdictWord(figures, item.verdict)
                      << '\n';
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
