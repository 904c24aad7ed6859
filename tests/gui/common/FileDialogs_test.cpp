// Where the file dialogs start: the last folder used, else the documents.
#include <gtest/gtest.h>

#include "gui/common/FileDialogs.h"
#include "support/TestSupport.h"

namespace rumone::test {
namespace {

TEST(FileDialogs, StartInTheLastFolderUsedElseTheDocuments)
{
    TempDir last;
    const QString lastFolder = QString::fromStdString(last.path());
    struct Case {
        QString suggested, lastFolder, documents, start;
    } cases[] = {
        {"a.csv", lastFolder, "/docs", lastFolder + "/a.csv"},
        {"a.csv", lastFolder + "/gone", "/docs", "/docs/a.csv"},
        {"a.csv", {}, "/docs", "/docs/a.csv"},
        {{}, {}, "/docs", "/docs"},
        {"/tmp/b.csv", lastFolder, "/docs", "/tmp/b.csv"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dialogStartPath(c.suggested, c.lastFolder, c.documents), c.start) << c.suggested.toStdString();
}

}  // namespace
}  // namespace rumone::test
