#include "gui/entry/DigitCellDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QStyleOption>
#include <array>

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
// is drawn here, centred in the cell less that padding. The cell holds
// neither icon nor check box: only its text and colours are asked of the
// model, and the style draws the panel (the background and the selection)
// without its layout of the item, which each cell of a page would pay for.
void DigitCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    std::array<QModelRoleData, 3> roles{QModelRoleData(Qt::DisplayRole), QModelRoleData(Qt::BackgroundRole),
                                        QModelRoleData(Qt::ForegroundRole)};
    index.multiData(roles);
    QStyleOptionViewItem opt(option);
    opt.index = index;
    if (roles[1].data().canConvert<QBrush>())
        opt.backgroundBrush = qvariant_cast<QBrush>(roles[1].data());
    const QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, opt.widget);

    const bool selected = opt.state & QStyle::State_Selected;
    const QString text = roles[0].data().toString();
    if (!text.isEmpty()) {
        const QPen oldPen = painter->pen();
        const QFont oldFont = painter->font();
        painter->setFont(opt.font);
        if (selected || !roles[2].data().canConvert<QBrush>())
            painter->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        else
            painter->setPen(qvariant_cast<QBrush>(roles[2].data()).color());
        const QRect room = opt.rect.adjusted(kEntryCellPadding, 0, -kEntryCellPadding, 0);
        // A digit is laid out once and drawn as it was laid out; a draw
        // number, or any text that (nearly) fills its room, is laid out and
        // cut at the room's edges as the style would.
        const QStaticText* laid = index.column() > 0 ? &laidOut(text, opt.font) : nullptr;
        if (laid && laid->size().width() + 2 <= room.width())
            painter->drawStaticText(QPointF(room.left() + (room.width() - laid->size().width()) / 2,
                                            room.top() + (room.height() - laid->size().height()) / 2),
                                    *laid);
        else
            painter->drawText(room, Qt::AlignCenter, text);
        painter->setFont(oldFont);
        painter->setPen(oldPen);
    }
    if (opt.state & QStyle::State_HasFocus) {
        // The frame's place depends on the item's whole layout.
        initStyleOption(&opt, index);
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(opt);
        focus.rect = style->subElementRect(QStyle::SE_ItemViewItemFocusRect, &opt, opt.widget);
        focus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
        const QPalette::ColorGroup group = opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
        focus.backgroundColor = opt.palette.color(group, selected ? QPalette::Highlight : QPalette::Window);
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, opt.widget);
    }
}

// Laid out once per text and font: the ten digits, and now and then a
// stored value that is none (forgotten when there are many).
const QStaticText& DigitCellDelegate::laidOut(const QString& text, const QFont& font) const
{
    constexpr qsizetype kTextsKept = 1024;
    if (font != textFont_ || texts_.size() >= kTextsKept) {
        texts_.clear();
        textFont_ = font;
    }
    auto it = texts_.find(text);
    if (it == texts_.end()) {
        QStaticText laid(text);
        laid.setTextFormat(Qt::PlainText);
        laid.prepare(QTransform(), font);
        it = texts_.insert(text, laid);
    }
    return *it;
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
