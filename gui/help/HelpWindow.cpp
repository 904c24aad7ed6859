#include "gui/help/HelpWindow.h"

#include <optional>
#include <string>

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace rumone {

namespace {

constexpr const char* kTopicScheme = "chm";

QUrl topicUrl(const QString& path)
{
    QUrl url(path.startsWith(u'/') ? path : QStringLiteral("/") + path);
    url.setScheme(QString::fromLatin1(kTopicScheme));
    return url;
}

// A link inside a help page as a topic URL, or an empty URL for links that
// lead out of the help file (web pages, mail), which are not followed.
QUrl topicOfLink(const QUrl& base, const QUrl& link)
{
    const QString scheme = link.scheme().toLower();
    if (scheme == QLatin1String("ms-its") || scheme == QLatin1String("mk")) {
        const QString text = link.toString(QUrl::FullyDecoded);
        const qsizetype separator = text.indexOf(QLatin1String("::"));
        if (separator < 0)
            return {};
        return topicUrl(text.mid(separator + 2));
    }
    const QUrl resolved = base.resolved(link);
    if (resolved.scheme() != QLatin1String(kTopicScheme))
        return {};
    return resolved;
}

QString notFoundPage(const QString& path)
{
    return QStringLiteral("<p>トピック「%1」はヘルプファイルにありません。</p>").arg(path.toHtmlEscaped());
}

}  // namespace

// Shows pages of the help file; pictures and style sheets come from it too.
class TopicBrowser : public QTextBrowser {
public:
    explicit TopicBrowser(QWidget* parent) : QTextBrowser(parent)
    {
        setOpenLinks(false);
        connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) { followLink(link); });
    }

    void setFile(std::shared_ptr<ChmFile> file) { file_ = std::move(file); }

    // The bytes of the topic at `url`, or nullopt.
    std::optional<std::string> fetch(const QUrl& url) const
    {
        if (!file_ || url.scheme() != QLatin1String(kTopicScheme))
            return std::nullopt;
        return file_->read(url.path(QUrl::FullyDecoded).toStdString());
    }

    void open(const QUrl& url)
    {
        QUrl page = url;
        page.setFragment(QString());
        if (!fetch(page)) {
            setHtml(notFoundPage(page.path()));
            return;
        }
        setSource(url, QTextDocument::HtmlResource);
    }

    QVariant loadResource(int type, const QUrl& name) override
    {
        const QUrl url = name.isRelative() ? source().resolved(name) : name;
        const std::optional<std::string> bytes = fetch(url);
        if (!bytes)
            return {};
        if (type == QTextDocument::HtmlResource)
            return QString::fromStdString(htmlToUtf8(*bytes));
        if (type == QTextDocument::StyleSheetResource)
            return QString::fromStdString(*bytes);
        return QByteArray(bytes->data(), static_cast<qsizetype>(bytes->size()));
    }

private:
    void followLink(const QUrl& link)
    {
        const QUrl target = topicOfLink(source(), link);
        if (target.isEmpty())
            return;
        if (target.path() == source().path() && target.hasFragment()) {
            scrollToAnchor(target.fragment());
            return;
        }
        open(target);
    }

    std::shared_ptr<ChmFile> file_;
};

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window),
      keywordEdit_(new QLineEdit(this)),
      keywordList_(new QListWidget(this)),
      topicBrowser_(new TopicBrowser(this))
{
    setObjectName(QStringLiteral("ルモーネヘルプ"));
    setWindowTitle(QStringLiteral("ルモーネ ヘルプ"));
    resize(860, 600);

    keywordEdit_->setObjectName(QStringLiteral("keywordEdit"));
    keywordList_->setObjectName(QStringLiteral("keywordList"));
    topicBrowser_->setObjectName(QStringLiteral("topicBrowser"));
    auto* showButton = new QPushButton(QStringLiteral("表示(&D)"), this);

    auto* indexPane = new QWidget(this);
    auto* indexLayout = new QVBoxLayout(indexPane);
    indexLayout->setContentsMargins(0, 0, 0, 0);
    auto* prompt = new QLabel(QStringLiteral("キーワードを入力してください(&W):"), indexPane);
    prompt->setBuddy(keywordEdit_);
    indexLayout->addWidget(prompt);
    indexLayout->addWidget(keywordEdit_);
    indexLayout->addWidget(keywordList_, 1);
    indexLayout->addWidget(showButton, 0, Qt::AlignRight);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(indexPane);
    splitter->addWidget(topicBrowser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({240, 620});
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(splitter);

    connect(keywordEdit_, &QLineEdit::textEdited, this, [this](const QString& text) { selectNearestKeyword(text); });
    connect(keywordEdit_, &QLineEdit::returnPressed, this, [this] { showSelectedKeyword(); });
    connect(keywordList_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) { showKeywordItem(item); });
    connect(keywordList_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { showKeywordItem(item); });
    connect(showButton, &QPushButton::clicked, this, [this] { showSelectedKeyword(); });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setObjectName(QStringLiteral("keyCloseHelp"));
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

HelpWindow::~HelpWindow() = default;

HelpWindow* HelpWindow::find()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* window = qobject_cast<HelpWindow*>(widget);
        if (window != nullptr)
            return window;
    }
    return nullptr;
}

void HelpWindow::setFile(std::shared_ptr<ChmFile> file, const QString& path)
{
    file_ = std::move(file);
    path_ = path;
    keywords_ = file_ ? file_->readIndex() : std::vector<SitemapEntry>{};
    topicBrowser_->setFile(file_);
    topicBrowser_->clear();
    fillIndex();
}

void HelpWindow::fillIndex()
{
    keywordList_->clear();
    for (size_t i = 0; i < keywords_.size(); ++i) {
        auto* item = new QListWidgetItem(QString::fromStdString(keywords_[i].name), keywordList_);
        item->setData(Qt::UserRole, static_cast<qulonglong>(i));
    }
}

void HelpWindow::showIndex(const QString& keyword)
{
    keywordEdit_->setText(keyword);
    selectNearestKeyword(keyword);
    keywordEdit_->setFocus();
}

void HelpWindow::selectNearestKeyword(const QString& text)
{
    for (int row = 0; row < keywordList_->count(); ++row) {
        QListWidgetItem* item = keywordList_->item(row);
        if (item->text().startsWith(text, Qt::CaseInsensitive)) {
            keywordList_->setCurrentItem(item);
            keywordList_->scrollToItem(item, QAbstractItemView::PositionAtTop);
            return;
        }
    }
}

bool HelpWindow::showKeyword(const QString& keywords)
{
    for (const QString& part : keywords.split(u';', Qt::SkipEmptyParts)) {
        const QString keyword = part.trimmed();
        for (int row = 0; row < keywordList_->count(); ++row) {
            QListWidgetItem* item = keywordList_->item(row);
            if (item->text().compare(keyword, Qt::CaseInsensitive) == 0) {
                keywordList_->setCurrentItem(item);
                showKeywordItem(item);
                return true;
            }
        }
    }
    return false;
}

void HelpWindow::showSelectedKeyword()
{
    showKeywordItem(keywordList_->currentItem());
}

void HelpWindow::showKeywordItem(QListWidgetItem* item)
{
    if (item == nullptr)
        return;
    const size_t index = item->data(Qt::UserRole).toULongLong();
    if (index >= keywords_.size() || keywords_[index].local.empty())
        return;
    // The keyword box names the topic shown, however it was chosen.
    keywordList_->setCurrentItem(item);
    keywordEdit_->setText(item->text());
    showTopic(QString::fromStdString(keywords_[index].local));
}

void HelpWindow::showTopic(const QString& path)
{
    topicBrowser_->open(topicUrl(path));
}

void HelpWindow::drawAheadOfShowing()
{
    const auto drawHidden = [](QWidget* widget) {
        if (widget->window()->isVisible())
            return;
        QImage picture(widget->size(), QImage::Format_ARGB32_Premultiplied);
        widget->render(&picture);
    };
    QTimer::singleShot(0, this, [this, drawHidden] {
        drawHidden(topicBrowser_);
        QTimer::singleShot(0, this, [this, drawHidden] { drawHidden(this); });
    });
}

}  // namespace rumone
