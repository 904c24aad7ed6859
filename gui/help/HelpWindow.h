// The help window: the keyword index of a compiled help file on the left
// and the chosen topic on the right. One per program, not modal.
#pragma once

#include <memory>
#include <vector>

#include <QString>
#include <QWidget>

#include "gui/help/ChmFile.h"

class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace rumone {

class TopicBrowser;

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    ~HelpWindow() override;

    // The help window of this program, shown or hidden, or nullptr. A
    // closed help window is kept hidden, so that the next open only shows
    // it again.
    static HelpWindow* find();

    // Shows `file` (already opened from `path`) in place of the current one.
    void setFile(std::shared_ptr<ChmFile> file, const QString& path);
    const QString& filePath() const { return path_; }

    // Puts `keyword` into the keyword field and selects the first keyword
    // of the index that starts with it.
    void showIndex(const QString& keyword);
    // Shows the topic of the first of the keywords (separated by ";") that
    // the index holds; false when it holds none of them.
    bool showKeyword(const QString& keywords);
    // Shows the topic at `path` inside the help file ("/about.html").
    void showTopic(const QString& path);
    // While the window is hidden, draws it into a picture: the topic pane in
    // the next turn of the event loop, the whole window in the turn after.
    // Laid out and its glyphs rasterized, its first paint on screen has
    // little left to do. Nothing is drawn once the window is shown.
    void drawAheadOfShowing();

private:
    void fillIndex();
    void selectNearestKeyword(const QString& text);
    void showSelectedKeyword();
    void showKeywordItem(QListWidgetItem* item);

    std::shared_ptr<ChmFile> file_;
    QString path_;
    std::vector<SitemapEntry> keywords_;
    QLineEdit* keywordEdit_;
    QListWidget* keywordList_;
    TopicBrowser* topicBrowser_;
};

}  // namespace rumone
