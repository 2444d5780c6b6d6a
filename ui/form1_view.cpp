// The window as the form sees it: the texts of its controls, the focus, the
// boxes and closing.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "form1_window.h"
#include "message_presenter.h"
#include "wide_text.h"
#include "window_menu.h"

namespace kvorn {

std::string Form1Window::Text(Control control) const
{
    const QWidget* widget = controls_.at(control);
    if (auto* edit = qobject_cast<const QLineEdit*>(widget))
        return edit->text().toStdString();
    if (auto* combo = qobject_cast<const QComboBox*>(widget))
        return combo->currentText().toStdString();
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return label->text().toStdString();
    return {};
}

void Form1Window::SetText(Control control, std::string_view text)
{
    QWidget* widget = controls_.at(control);
    const QString value = Widen(text);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(value);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        // A listed text selects its item, so that the list opens there and
        // the arrow keys go on from it.
        const int item = combo->findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive);
        combo->setCurrentIndex(item);
        if (item < 0)
            combo->setEditText(value);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(value);
    }
}

void Form1Window::Focus(Control control) { controls_.at(control)->setFocus(Qt::OtherFocusReason); }
void Form1Window::ShowMessage(std::string_view text) { presenter_.ShowMessage(text); }
void Form1Window::ShowError(std::string_view message) { presenter_.ShowError(message); }
void Form1Window::Close() { close(); }
std::string Form1Window::ClipboardText() const { return WindowMenu::ClipboardText(); }
void Form1Window::SetClipboardText(std::string_view text) { WindowMenu::SetClipboardText(text); }

}  // namespace kvorn
