#include "window_menu.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

#include "tform1.h"

namespace kvorn {

WindowMenu::WindowMenu(kvorn::TForm1& form, QWidget* window) : QObject(window), form_(form), window_(window) {}

void WindowMenu::Requested(QContextMenuEvent* event)
{
    // Opened without waiting for it: the window's loop goes on, and a box a
    // command shows comes after the menu has closed.
    auto* menu = new QMenu(window_);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (const kvorn::WindowMenuItem& item : kvorn::WindowMenuItems) {
        QAction* action = menu->addAction(QString::fromUtf8(item.Text.data(), qsizetype(item.Text.size())));
        action->setEnabled(form_.Offers(item.Command));
        const kvorn::WindowCommand command = item.Command;
        connect(action, &QAction::triggered, this, [this, command] { form_.Run(command); });
    }
    QPoint at = event->globalPos();
    if (event->reason() == QContextMenuEvent::Keyboard)  // under the control that has the focus
        if (QWidget* focus = QApplication::focusWidget(); focus && window_->isAncestorOf(focus))
            at = focus->mapToGlobal(QPoint(0, focus->height()));
    menu->popup(at);
    event->accept();
}

void WindowMenu::Watch(QWidget* control) { control->installEventFilter(this); }

bool WindowMenu::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
            auto* control = static_cast<QWidget*>(watched);
            const QPoint centre = control->rect().center();
            QContextMenuEvent request(QContextMenuEvent::Keyboard, centre, control->mapToGlobal(centre));
            QApplication::sendEvent(control, &request);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

std::string WindowMenu::ClipboardText() { return QGuiApplication::clipboard()->text().toStdString(); }

void WindowMenu::SetClipboardText(std::string_view text)
{
    QGuiApplication::clipboard()->setText(QString::fromUtf8(text.data(), qsizetype(text.size())));
}

}  // namespace kvorn
