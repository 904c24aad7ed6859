#include "gui/entry/DigitEditor.h"

#include <QAction>
#include <QKeyEvent>

namespace rumone {

bool DigitEditor::event(QEvent* e)
{
    if (e->type() == QEvent::ShortcutOverride && isWindowShortcut(*static_cast<QKeyEvent*>(e))) {
        e->ignore();
        return true;
    }
    return QLineEdit::event(e);
}

bool DigitEditor::isWindowShortcut(const QKeyEvent& key) const
{
    const QKeySequence pressed(key.keyCombination());
    for (const QAction* action : window()->findChildren<QAction*>())
        if (action->isEnabled() && !action->shortcut().isEmpty() && action->shortcut() == pressed)
            return true;
    return false;
}

}  // namespace rumone
