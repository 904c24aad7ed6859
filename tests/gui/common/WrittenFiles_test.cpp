// Every file the program writes (CSV, PDF, PNG) meets what stands at its
// name alike: a link is written through with its target's permissions
// kept; a circle of links, a pipe and a device are refused and left as
// they were.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <filesystem>
#include <functional>

#include "core/grid/ResultGrid.h"
#include "core/store/SafeFile.h"
#include "gui/common/PictureFile.h"
#include "gui/common/PrintDialog.h"
#include "gui/grid/GridCommands.h"
#include "support/TestSupport.h"

namespace rumone {
namespace {

namespace fs = std::filesystem;

// A one-page PDF; empty when written, else the reason shown.
QString writePdf(const QString& path)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    try {
        printToWholeFile(printer, {}, [](QPrinter& p, const PrintProgress&) {
            QPainter(&p).drawText(100, 100, QStringLiteral("表"));
            return PrintResult::Printed;
        });
    } catch (const FileWriteError& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

TEST(WrittenFiles, EachKindOfTargetIsWrittenThroughOrRefusedAlikeForCsvPdfAndPng)
{
    ResultGrid grid;
    grid.setSize(2, 2);
    const std::pair<const char*, std::function<QString(const QString&)>> writers[] = {
        {"CSV", [&grid](const QString& path) { return exportGridCsv(grid, path, TextEncoding::Utf8); }},
        {"PDF", writePdf},
        {"PNG", [](const QString& path) { return writePngFile(QImage(8, 8, QImage::Format_RGB32), path); }},
    };
    const auto link = [](const char* to, const std::string& at) { fs::create_symlink(to, at); };
    struct Target {
        const char* name;
        std::function<void(const test::TempDir&)> make;  // makes "out" and what it reaches
        const char* refusal;                             // in the reason; nullptr: written
        const char* reached;                             // what the write reaches
        mode_t mode;                                     // what stands there afterwards
    };
    const Target targets[] = {
        {"a link to a 0600 file",
         [&](const test::TempDir& d) {
             test::writeBytes(d.file("real"), "old");
             ::chmod(d.file("real").c_str(), 0600);
             link("real", d.file("out"));
         },
         nullptr, "real", S_IFREG | 0600},
        {"a circle of links",
         [&](const test::TempDir& d) {
             link("other", d.file("out"));
             link("out", d.file("other"));
         },
         "循環", "out", S_IFLNK | 0777},
        {"a pipe", [](const test::TempDir& d) { ::mkfifo(d.file("out").c_str(), 0600); }, "パイプ", "out",
         S_IFIFO | 0600},
        {"a link to a device", [&](const test::TempDir& d) { link("/dev/null", d.file("out")); }, "デバイス", "out",
         S_IFLNK | 0777},
    };
    for (const Target& target : targets) {
        for (const auto& [format, write] : writers) {
            SCOPED_TRACE(std::string(target.name) + ", " + format);
            test::TempDir dir;
            target.make(dir);
            const auto entries = [&dir] { return std::distance(fs::directory_iterator(dir.path()), {}); };
            const auto before = entries();
            const QString reason = write(QString::fromStdString(dir.file("out")));
            if (target.refusal) {
                EXPECT_TRUE(reason.contains(QString::fromUtf8(target.refusal))) << reason.toStdString();
            } else {
                EXPECT_TRUE(reason.isEmpty()) << reason.toStdString();
                EXPECT_NE(test::readBytes(dir.file(target.reached)), "old");
            }
            struct stat st {};
            ::lstat(dir.file(target.reached).c_str(), &st);
            EXPECT_EQ(st.st_mode, target.mode);
            EXPECT_EQ(entries(), before);  // nothing made beside, nothing replaced
        }
    }
}

}  // namespace
}  // namespace rumone
