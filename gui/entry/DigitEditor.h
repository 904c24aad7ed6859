// The editor of a digit cell of the entry grid.
#pragma once

#include <QLineEdit>

namespace rumone {

// The editor of a digit cell. The shortcuts of the window's menu commands
// (行追加 Ctrl+A, 行削除 Ctrl+D) win over the editor's own keys for the
// same combinations, as menu accelerators do: the command then commits the
// digit being typed and runs.
class DigitEditor : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    bool event(QEvent* e) override;

private:
    bool isWindowShortcut(const QKeyEvent& key) const;
};

}  // namespace rumone
