#include "edit_selection.h"

#include <QFocusEvent>
#include <QGuiApplication>
#include <QLineEdit>

namespace kvorn {

void EditSelection::Watch(QLineEdit* edit) { edit->installEventFilter(this); }

bool EditSelection::eventFilter(QObject* watched, QEvent* event)
{
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (!edit || (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut))
        return false;
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    if (event->type() == QEvent::FocusOut) {
        if (reason == Qt::ActiveWindowFocusReason) {
            kept_[edit] = {edit->cursorPosition(), edit->selectionStart(), int(edit->selectedText().size())};
            edit->deselect();
        }
        return false;
    }

    const auto kept = kept_.find(edit);
    if (reason == Qt::ActiveWindowFocusReason && kept != kept_.end()) {
        const Kept k = kept->second;
        kept_.erase(kept);
        if (k.length == 0)
            edit->setCursorPosition(k.cursor);
        else if (k.cursor == k.start)
            edit->setSelection(k.start + k.length, -k.length);
        else
            edit->setSelection(k.start, k.length);
        return false;
    }
    kept_.erase(edit);
    const bool leftClick = reason == Qt::MouseFocusReason && (QGuiApplication::mouseButtons() & Qt::LeftButton);
    if (!leftClick && reason != Qt::PopupFocusReason)
        edit->selectAll();
    return false;
}

}  // namespace kvorn
