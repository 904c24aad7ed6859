// The help call layer: the signature and command numbers of HtmlHelpA,
// behind which the help window reads the compiled help file.
#pragma once

#include <cstdint>
#include <functional>

class QString;
class QWidget;

namespace rumone {

inline constexpr unsigned HH_DISPLAY_INDEX = 2;
inline constexpr unsigned HH_KEYWORD_LOOKUP = 13;

// The keyword-link record of a keyword lookup.
struct HH_AKLINK {
    int cbStruct = 0;
    bool fReserved = false;
    const char* pszKeywords = nullptr;
    const char* pszUrl = nullptr;
    const char* pszMsgText = nullptr;
    const char* pszMsgTitle = nullptr;
    const char* pszWindow = nullptr;
    bool fIndexOnFail = false;
};

// htmlHelp(owner, file, command, data): for HH_DISPLAY_INDEX data is the
// keyword (const char*), for HH_KEYWORD_LOOKUP a pointer to an HH_AKLINK.
// The result is the help window, or nullptr.
QWidget* htmlHelp(QWidget* owner, const char* file, unsigned command, std::uintptr_t data);

// While an object of this class lives, htmlHelp hands its calls to `hook`
// in place of the real layer (so tests see the calls); the layer before it
// answers again when it ends. Objects nest as scopes do.
using HtmlHelpHook = std::function<QWidget*(QWidget*, const char*, unsigned, std::uintptr_t)>;
class ScopedHtmlHelpHook {
public:
    explicit ScopedHtmlHelpHook(HtmlHelpHook hook);
    ~ScopedHtmlHelpHook();
    ScopedHtmlHelpHook(const ScopedHtmlHelpHook&) = delete;
    ScopedHtmlHelpHook& operator=(const ScopedHtmlHelpHook&) = delete;

private:
    HtmlHelpHook previous_;
};

// The main window's help command: on "ルモーネ.chm", the index with the
// keyword "ヨンケタ４について", then the lookup of that keyword.
void showProgramHelp(QWidget* owner);

// Makes the help window of the program's help file ready while the player
// has no need of it: hidden, the index at the start keyword and its topic
// laid out, so that the help command (and F1) only has to show it. Does
// nothing when a help window is already there, a hook stands in for the
// layer, or the file is missing or unreadable (the help command itself
// reports that when it is given).
void prepareProgramHelp(QWidget* owner);

// The page of a window (F1): the lookup of `keywords` ("a;b", the first that
// the index holds), the index at the first of them where none is found.
void showHelpFor(QWidget* owner, const QString& keywords);

}  // namespace rumone
