#include "gui/entry/DigitCellDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QStyleOption>

#include "gui/entry/DigitEditor.h"
#include "gui/entry/EntryTableModel.h"

namespace rumone {

QWidget* DigitCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const
{
    auto* editor = new DigitEditor(parent);
    editor->setFrame(false);
    editor->setAlignment(Qt::AlignCenter);
    // No length limit: it would cut a pasted "12" to "1" before the
    // validator sees it. The validator refuses anything but one digit.
    editor->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9０-９]?")), editor));
    // createEditor is const by Qt's signature; the report changes nothing.
    auto* self = const_cast<DigitCellDelegate*>(this);
    connect(editor, &QLineEdit::inputRejected, self,
            [self] { emit self->inputRefused(QStringLiteral("数字は 1 マスに 1 文字（0～9）だけ入力できます。")); });
    return editor;
}

// The style's item margins are wider than the grid's two pixels and would
// cut a four-digit draw number in its five-character column, so the text
// is drawn here, centred in the cell less that padding.
void DigitCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    // The cell holds neither icon nor check box: the style's panel (the
    // background and the selection) and focus frame are drawn without its
    // layout of the item, which a page of scrolling would pay for each cell.
    const QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, opt.widget);
    painter->save();
    painter->setFont(opt.font);
    const bool selected = opt.state & QStyle::State_Selected;
    painter->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(opt.rect.adjusted(kEntryCellPadding, 0, -kEntryCellPadding, 0), Qt::AlignCenter, opt.text);
    painter->restore();
    if (opt.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(opt);
        focus.rect = style->subElementRect(QStyle::SE_ItemViewItemFocusRect, &opt, opt.widget);
        focus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
        const QPalette::ColorGroup group = opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
        focus.backgroundColor = opt.palette.color(group, selected ? QPalette::Highlight : QPalette::Window);
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, opt.widget);
    }
}

void DigitCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* edit = qobject_cast<QLineEdit*>(editor);
    if (!edit)
        return;
    const QString stored = index.data(Qt::EditRole).toString();
    std::optional<int> digit;
    const bool fits = parseDigitInput(stored, digit) && stored.trimmed().size() <= 1;
    edit->setText(fits ? stored.trimmed() : QString());
    edit->setPlaceholderText(fits ? QString() : stored);
    edit->setModified(false);
}

void DigitCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    auto* edit = qobject_cast<QLineEdit*>(editor);
    if (edit && edit->isModified())
        model->setData(index, edit->text(), Qt::EditRole);
}

}  // namespace rumone
