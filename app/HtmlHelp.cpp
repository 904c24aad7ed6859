// Placeholder until the help viewer lands.
#include "app/HtmlHelp.h"

namespace rumone {
QWidget* HtmlHelpA(QWidget*, const char*, unsigned, std::uintptr_t) { return nullptr; }
HtmlHelpHook SetHtmlHelpHook(HtmlHelpHook) { return {}; }
void ShowProgramHelp(QWidget*) {}
}  // namespace rumone
