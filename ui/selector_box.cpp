#include "selector_box.h"

#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionComboBox>
#include <QWheelEvent>

namespace kvorn {

void SelectorBox::MakeEditable()
{
    // Not Qt's default WheelFocus: before a real wheel event Qt would give
    // the focus to the box under the pointer, and the wheel would change it.
    setFocusPolicy(Qt::StrongFocus);
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Qt finishes an edit by finding the text among the items (case-
    // insensitively, through the completer), picking that item and emitting
    // activated: the text would change, and a change fire, on leaving.
    setCompleter(nullptr);
    disconnect(lineEdit(), &QLineEdit::editingFinished, this, nullptr);
    disconnect(lineEdit(), &QLineEdit::returnPressed, this, nullptr);
}

void SelectorBox::wheelEvent(QWheelEvent* event)
{
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}

void SelectorBox::paintEvent(QPaintEvent* event)
{
    QComboBox::paintEvent(event);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QRect button = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this);
    const QPointF centre = QRectF(button).center();
    QPainterPath arrow;
    arrow.moveTo(centre + QPointF(-4, -2));
    arrow.lineTo(centre + QPointF(4, -2));
    arrow.lineTo(centre + QPointF(0, 2.5));
    arrow.closeSubpath();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(arrow, isEnabled() ? QColor(0x3b, 0x22, 0x0b) : palette().color(QPalette::Disabled, QPalette::Text));
}

}  // namespace kvorn
