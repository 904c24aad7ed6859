// The help layer: the two calls of the help command, the help window on
// the built help file, and the messages for a missing or damaged file.
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>

#include "core/analysis/AnalysisView.h"
#include "gui/common/Messages.h"
#include "gui/help/HelpWindow.h"
#include "gui/help/HtmlHelp.h"
#include "support/TestSupport.h"

namespace rumone {
namespace {

const std::string kBuiltHelpFile = RUMONE_BIN_DIR "/ルモーネ.chm";
const char* const kStartKeyword = "ヨンケタ４について";

struct SeenMessages {
    int count = 0;
    QString title;
    QString text;
};

// Runs `action`, answering every message box that it shows with OK.
SeenMessages answerMessages(const std::function<void()>& action)
{
    ScriptedAnswers script({QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok});
    action();
    SeenMessages seen;
    seen.count = static_cast<int>(script.shown().size());
    if (!script.shown().empty()) {
        seen.title = script.shown().back().caption;
        seen.text = script.shown().back().text;
    }
    return seen;
}

class HtmlHelpTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (qobject_cast<HelpWindow*>(widget) != nullptr)
                delete widget;
        }
    }

    static QWidget* displayIndex(const std::string& file, const char* keyword)
    {
        return htmlHelp(nullptr, file.c_str(), HH_DISPLAY_INDEX, reinterpret_cast<std::uintptr_t>(keyword));
    }
    static QWidget* lookup(const std::string& file, const HH_AKLINK& link)
    {
        return htmlHelp(nullptr, file.c_str(), HH_KEYWORD_LOOKUP, reinterpret_cast<std::uintptr_t>(&link));
    }
    static HH_AKLINK linkTo(const char* keywords)
    {
        HH_AKLINK link;
        link.cbStruct = 32;
        link.pszKeywords = keywords;
        return link;
    }
    static QString shownText(QWidget* window)
    {
        return window->findChild<QTextBrowser*>("topicBrowser")->toPlainText();
    }
};

TEST_F(HtmlHelpTest, HelpCommandMakesTheTwoCallsWithTheirRecords)
{
    struct Call {
        QWidget* owner;
        std::string file;
        unsigned command;
        std::string keyword;
        HH_AKLINK link;
    };
    std::vector<Call> calls;
    QWidget owner;
    {
        ScopedHtmlHelpHook hook(
            [&calls](QWidget* from, const char* file, unsigned command, std::uintptr_t data) -> QWidget* {
                Call call{from, file, command, {}, {}};
                if (command == HH_DISPLAY_INDEX)
                    call.keyword = reinterpret_cast<const char*>(data);
                if (command == HH_KEYWORD_LOOKUP)
                    call.link = *reinterpret_cast<const HH_AKLINK*>(data);
                if (call.link.pszKeywords != nullptr)
                    call.keyword = call.link.pszKeywords;
                calls.push_back(call);
                return nullptr;
            });
        showProgramHelp(&owner);
    }
    // The hook's scope has ended: the real layer answers (nothing, without a file).
    EXPECT_EQ(htmlHelp(&owner, nullptr, HH_DISPLAY_INDEX, 0), nullptr);

    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].owner, &owner);
    EXPECT_EQ(calls[0].file, "ルモーネ.chm");
    EXPECT_EQ(calls[0].command, 2u);
    EXPECT_EQ(calls[0].keyword, kStartKeyword);

    EXPECT_EQ(calls[1].owner, &owner);
    EXPECT_EQ(calls[1].file, "ルモーネ.chm");
    EXPECT_EQ(calls[1].command, 13u);
    const HH_AKLINK& link = calls[1].link;
    EXPECT_EQ(link.cbStruct, 32);
    EXPECT_FALSE(link.fReserved);
    EXPECT_EQ(calls[1].keyword, kStartKeyword);
    EXPECT_EQ(link.pszUrl, nullptr);
    EXPECT_EQ(link.pszMsgText, nullptr);
    EXPECT_EQ(link.pszMsgTitle, nullptr);
    EXPECT_EQ(link.pszWindow, nullptr);
    EXPECT_FALSE(link.fIndexOnFail);
}

// Tests on the help file that the build compiles from help/.
class BuiltHelpTest : public HtmlHelpTest {
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(kBuiltHelpFile))
            GTEST_SKIP() << "help file not built: " << kBuiltHelpFile;
    }
};

TEST_F(BuiltHelpTest, IndexSelectsKeywordAndLookupShowsItsTopicInOneWindow)
{
    QWidget* window = displayIndex(kBuiltHelpFile, kStartKeyword);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "ルモーネ ヘルプ");
    auto* index = window->findChild<QListWidget*>("keywordList");
    ASSERT_NE(index->currentItem(), nullptr);
    EXPECT_EQ(index->currentItem()->text(), kStartKeyword);
    EXPECT_GT(index->count(), 20);

    const HH_AKLINK link = linkTo(kStartKeyword);
    EXPECT_EQ(lookup(kBuiltHelpFile, link), window);
    EXPECT_TRUE(shownText(window).startsWith(kStartKeyword));
    EXPECT_TRUE(shownText(window).contains("当選番号を分析")) << shownText(window).toStdString();

    // A link between topics is followed inside the window.
    auto* browser = window->findChild<QTextBrowser*>("topicBrowser");
    emit browser->anchorClicked(QUrl("entry.html"));
    EXPECT_TRUE(shownText(window).contains("結果マスタの数字に誤りがあります。"));
    emit browser->anchorClicked(QUrl("https://example.com/"));  // not followed
    EXPECT_TRUE(shownText(window).startsWith("当選データ入力"));

    // The second of several keywords is found when the first is not.
    EXPECT_EQ(lookup(kBuiltHelpFile, linkTo("ありません;ルモーネ.ini")), window);
    EXPECT_TRUE(shownText(window).contains("頻度分析Opt=True"));
    // The keyword box names the topic shown; Esc closes the window.
    EXPECT_EQ(window->findChild<QLineEdit*>("keywordEdit")->text(), QStringLiteral("ルモーネ.ini"));
    QPointer<QWidget> open(window);
    QApplication::setActiveWindow(window);
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_TRUE(open.isNull() || !open->isVisible());
}

// The window made ready ahead is the one the help command shows, at the
// keyword and topic of a window made on the spot, whether its drawing
// ahead has run or not; an open window is left as the player has it.
TEST_F(BuiltHelpTest, APreparedWindowIsTheOneTheHelpCommandShows)
{
    for (const bool drawnAhead : {false, true}) {
        prepareProgramHelp(nullptr);
        HelpWindow* prepared = HelpWindow::find();
        ASSERT_NE(prepared, nullptr);
        EXPECT_FALSE(prepared->isVisible());
        if (drawnAhead) {
            for (int i = 0; i < 4; ++i)
                QApplication::processEvents();
        }
        showProgramHelp(nullptr);
        for (int i = 0; i < 4; ++i)
            QApplication::processEvents();
        EXPECT_EQ(HelpWindow::find(), prepared);
        EXPECT_TRUE(prepared->isVisible());
        EXPECT_EQ(prepared->findChild<QListWidget*>("keywordList")->currentItem()->text(), kStartKeyword);
        EXPECT_TRUE(shownText(prepared).startsWith(kStartKeyword)) << drawnAhead;

        emit prepared->findChild<QTextBrowser*>("topicBrowser")->anchorClicked(QUrl("entry.html"));
        prepareProgramHelp(nullptr);
        EXPECT_TRUE(shownText(prepared).startsWith("当選データ入力"));
        delete prepared;
    }
    const ScopedHtmlHelpHook hook([](QWidget*, const char*, unsigned, std::uintptr_t) { return nullptr; });
    prepareProgramHelp(nullptr);
    EXPECT_EQ(HelpWindow::find(), nullptr) << "a hook stands in for the layer";
}

// A closed help window is kept, hidden, and the next help command shows
// that same window again at the start topic.
TEST_F(BuiltHelpTest, AClosedWindowIsTheOneTheNextOpenShows)
{
    showProgramHelp(nullptr);
    HelpWindow* window = HelpWindow::find();
    ASSERT_NE(window, nullptr);
    emit window->findChild<QTextBrowser*>("topicBrowser")->anchorClicked(QUrl("entry.html"));
    window->close();
    QApplication::processEvents();
    ASSERT_EQ(HelpWindow::find(), window);
    EXPECT_FALSE(window->isVisible());
    showProgramHelp(nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(shownText(window).startsWith(kStartKeyword));
}

TEST_F(BuiltHelpTest, BareNameIsLookedForInTheCurrentFolderFirst)
{
    test::TempDir dir;
    std::filesystem::copy_file(kBuiltHelpFile, dir.file("ルモーネ.chm"));
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    showProgramHelp(nullptr);
    std::filesystem::current_path(previous);

    HelpWindow* window = HelpWindow::find();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(std::filesystem::path(window->filePath().toStdString()), std::filesystem::path(dir.file("ルモーネ.chm")));
    EXPECT_TRUE(window->findChild<QTextBrowser*>("topicBrowser")->toPlainText().startsWith(kStartKeyword));
}

TEST_F(HtmlHelpTest, MissingOrDamagedFileGivesOneMessageAndNoWindow)
{
    test::TempDir dir;
    const std::string missing = dir.file("ルモーネ.chm");
    SeenMessages seen = answerMessages([&] {
        EXPECT_EQ(displayIndex(missing, kStartKeyword), nullptr);
        EXPECT_EQ(lookup(missing, linkTo(kStartKeyword)), nullptr);
    });
    EXPECT_EQ(seen.count, 1);
    EXPECT_EQ(seen.title, "メッセ－ジ");
    EXPECT_TRUE(seen.text.contains("見つかりません")) << seen.text.toStdString();

    std::ofstream(missing, std::ios::binary) << "This is no compiled help file.";
    seen = answerMessages([&] { EXPECT_EQ(displayIndex(missing, kStartKeyword), nullptr); });
    EXPECT_EQ(seen.count, 1);
    EXPECT_TRUE(seen.text.contains("開けません")) << seen.text.toStdString();
    EXPECT_EQ(HelpWindow::find(), nullptr);
}

TEST_F(BuiltHelpTest, UnknownKeywordShowsIndexOrTheRecordsMessage)
{
    HH_AKLINK link = linkTo("存在しないキーワード");
    link.fIndexOnFail = true;
    QWidget* window = lookup(kBuiltHelpFile, link);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());

    link.fIndexOnFail = false;
    link.pszMsgText = "見つかりませんでした。";
    link.pszMsgTitle = "検索";
    const SeenMessages seen = answerMessages([&] { EXPECT_EQ(lookup(kBuiltHelpFile, link), nullptr); });
    EXPECT_EQ(seen.count, 1);
    EXPECT_EQ(seen.title, "検索");
    EXPECT_EQ(seen.text, "見つかりませんでした。");
}

TEST_F(BuiltHelpTest, EveryKeywordAndInternalLinkLeadsToATopic)
{
    const std::unique_ptr<ChmFile> file = ChmFile::open(kBuiltHelpFile);
    ASSERT_NE(file, nullptr);
    const std::vector<SitemapEntry> keywords = file->readIndex();
    ASSERT_FALSE(keywords.empty());
    bool haveStart = false;
    for (const SitemapEntry& keyword : keywords) {
        haveStart = haveStart || keyword.name == kStartKeyword;
        EXPECT_TRUE(file->read(keyword.local).has_value()) << keyword.name << " -> " << keyword.local;
    }
    EXPECT_TRUE(haveStart);

    for (const std::string& entry : file->entries()) {
        if (entry.size() < 5 || entry.substr(entry.size() - 5) != ".html")
            continue;
        const std::string page = *file->read(entry);
        for (size_t at = page.find("href=\""); at != std::string::npos; at = page.find("href=\"", at + 1)) {
            const std::string target = page.substr(at + 6, page.find('"', at + 6) - at - 6);
            EXPECT_TRUE(file->read(target).has_value()) << entry << " links to " << target;
        }
    }
}

// F1 on an analysis view looks up its own keyword; one the index lacks would
// silently show the index instead of the view's page.
TEST(BuiltHelpIndex, HoldsEveryAnalysisViewsKeyword)
{
    const std::unique_ptr<ChmFile> file = ChmFile::open(kBuiltHelpFile);
    ASSERT_NE(file, nullptr);
    std::set<std::string> names;
    for (const SitemapEntry& keyword : file->readIndex())
        names.insert(keyword.name);
    for (const AnalysisViewSpec& view : analysisViews())
        EXPECT_TRUE(names.count(view.helpKeyword)) << view.objectName << ": " << view.helpKeyword;
}

TEST(SitemapTest, ReadsNamesAndTopicsOfObjects)
{
    const std::vector<SitemapEntry> entries = parseSitemap(R"(
        <OBJECT type="text/site properties"><param name="Window Styles" value="0x800025"></OBJECT>
        <UL><LI><object type="text/sitemap">
          <PARAM NAME='Name' VALUE='A &amp; B &#x30EB;'>
          <param name="Local" value="a.html#part"><param name="Local" value="b.html">
        </object>
        <LI><OBJECT type="text/sitemap"><param name="Name" value="見出し"></OBJECT></UL>)");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "A & B ル");
    EXPECT_EQ(entries[0].local, "a.html#part");
    EXPECT_EQ(entries[1].name, "見出し");
    EXPECT_EQ(entries[1].local, "");
}

}  // namespace
}  // namespace rumone
