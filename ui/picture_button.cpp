#include "picture_button.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace kvorn {

void PictureButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPixmap picture = icon().pixmap(iconSize(), devicePixelRatio(), isEnabled() ? QIcon::Normal : QIcon::Disabled);
    const QSize size = picture.deviceIndependentSize().toSize();
    QPoint at((width() - size.width()) / 2, (height() - size.height()) / 2);
    if (isDown())
        at += QPoint(1, 1);  // pressed in, as a raised button would be
    painter.drawPixmap(at, picture);
    if (isDown())
        painter.fillRect(rect(), QColor(0, 0, 0, 60));
    else if (underMouse() && isEnabled())
        painter.fillRect(rect(), QColor(255, 240, 200, 36));
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(3, 3, -3, -3);
        option.backgroundColor = QColor(0x6b, 0x3f, 0x18);
        painter.setPen(QPen(QColor(0xf6, 0xe7, 0xbf), 1, Qt::DotLine));
        painter.drawRect(option.rect.adjusted(0, 0, -1, -1));
    }
}

void PictureButton::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat()) {
        click();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

}  // namespace kvorn
