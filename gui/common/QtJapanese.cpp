#include "gui/common/QtJapanese.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>
#include <utility>

namespace rumone {

namespace {

// The texts of Qt's print dialog that its Japanese translation leaves in
// English.
class PrintDialogJapanese : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char* disambiguation, int n) const override
    {
        Q_UNUSED(disambiguation);
        Q_UNUSED(n);
        if (qstrcmp(context, "QPrintSettingsOutput") != 0)
            return {};
        static constexpr std::pair<const char*, const char*> kTexts[] = {
            {"Pages", "ページ指定"},
            {"Off", "なし"},
            {"Long side binding", "長辺とじ"},
            {"Short side binding", "短辺とじ"},
        };
        for (const auto& [english, japanese] : kTexts)
            if (qstrcmp(source, english) == 0)
                return QString::fromUtf8(japanese);
        return {};
    }
};

}  // namespace

QTranslator* installQtJapanese(QCoreApplication& app)
{
    auto translator = std::make_unique<QTranslator>(&app);
    if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator.get()))
        return nullptr;
    // Asked before Qt's own: installed later.
    QCoreApplication::installTranslator(new PrintDialogJapanese(&app));
    return translator.release();  // now owned by `app`
}

}  // namespace rumone
