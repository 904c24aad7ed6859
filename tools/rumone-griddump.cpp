// rumone-griddump DB VIEW [--reflect K] [--csv [--cp932]]
// Prints the text dump of the grid that view VIEW (its window name) builds
// from the draw database DB, exactly as the view would build it. With
// --csv an analysis view's table is written as the view's CSV export
// writes it (UTF-8 with a byte order mark, or CP932 with --cp932).
// For the prediction view 一発ルモーネ it prints its four grids, each after a
// line "grid i", computed with the first K of the ten reflect switches set
// (K 0-10, default 0; the options file is not read).
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "core/analysis/AnalysisView.h"
#include "core/grid/GridDump.h"
#include "core/grid/GridExport.h"
#include "core/history/DrawHistory.h"
#include "core/predict/Prediction.h"
#include "core/predict/PredictionTexts.h"
#include "core/store/DrawStore.h"

using namespace rumone;

namespace {

int listViews(const char* why)
{
    std::cerr << why << "\nknown views:\n";
    for (const AnalysisViewSpec& v : analysisViews())
        std::cerr << "  " << v.objectName << '\n';
    std::cerr << "  " << kPredictionObjectName << '\n';
    return 2;
}

// The tool reads the file it is given, whatever its name.
DrawHistory loadFrom(const std::string& dbPath)
{
    return loadDrawHistory(drawDatabaseAt(dbPath));
}

// The reflect count: a whole number 0-10, or -1.
int parseReflect(const std::string& text)
{
    if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    const int k = std::stoi(text);
    return k <= kOptionCount ? k : -1;
}

void dumpPrediction(const DrawHistory& history, int reflect)
{
    const Prediction prediction = predictionOf(history, reflect);
    for (int i = 0; i < kPredictionGridCount; ++i) {
        std::cout << "grid " << i << '\n';
        dumpGrid(*prediction.grid(i), std::cout);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << "usage: rumone-griddump DB VIEW [--reflect K] [--csv [--cp932]]\n";
        return listViews("");
    }
    const std::string db = argv[1];
    const std::string view = argv[2];
    std::string reflectText = "0";
    bool csv = false;
    TextEncoding encoding = TextEncoding::Utf8WithBom;
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "--reflect") == 0 && i + 1 < argc)
            reflectText = argv[++i];
        else if (std::strcmp(argv[i], "--csv") == 0)
            csv = true;
        else if (std::strcmp(argv[i], "--cp932") == 0)
            encoding = TextEncoding::Cp932;
        else {
            std::cerr << "unknown argument: " << argv[i] << '\n';
            return 2;
        }
    }
    if (csv && view == kPredictionObjectName) {
        std::cerr << "--csv writes the table of an analysis view\n";
        return 2;
    }
    if (view == kPredictionObjectName) {
        const int reflect = parseReflect(reflectText);
        if (reflect < 0) {
            std::cerr << "--reflect takes a count 0-10: " << reflectText << '\n';
            return 2;
        }
        try {
            dumpPrediction(loadFrom(db), reflect);
        } catch (const std::exception& e) {
            std::cerr << e.what() << '\n';
            return 1;
        }
        return 0;
    }
    const AnalysisViewSpec* spec = findAnalysisView(view);
    if (!spec)
        return listViews(("unknown view: " + view).c_str());
    try {
        const DrawHistory history = loadFrom(db);
        ResultGrid grid;
        spec->build(grid, history);
        if (csv)
            std::cout << gridCsvFile(grid, encoding);
        else
            dumpGrid(grid, std::cout);
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
