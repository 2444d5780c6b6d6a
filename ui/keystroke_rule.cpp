#include "keystroke_rule.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>

#include "tform1.h"

namespace kvorn {

namespace {

// A typed character is what the platform would hand a control as one:
// Tab moves the focus and Delete edits, neither of them types. In an open
// list, only printable characters and backspace type: the other keys
// (Return, Escape) are the list's own.
bool IsTypedCharacter(const QKeyEvent* event, bool list)
{
    if (event->text().isEmpty())
        return false;
    switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return false;
    default:
        break;
    }
    if (list) {
        const char16_t first = event->text().front().unicode();
        return first >= 0x20 || first == 8;
    }
    return true;
}

}  // namespace

void KeystrokeRule::Watch(QObject* watched, kvorn::Control control, bool list)
{
    watched_[watched] = {control, list};
    watched->installEventFilter(this);
}

void KeystrokeRule::Unwatch()
{
    for (auto& entry : watched_)
        entry.first->removeEventFilter(this);
    watched_.clear();
}

QString KeystrokeRule::Filter(kvorn::Control control, const QString& typed)
{
    const std::u32string kept = form_.FilterTyped(control, typed.toStdU32String());
    return QString::fromStdU32String(kept);
}

void KeystrokeRule::Forward(QObject* watched, QEvent* event)
{
    forwarding_ = true;
    QCoreApplication::sendEvent(watched, event);
    forwarding_ = false;
}

bool KeystrokeRule::eventFilter(QObject* watched, QEvent* event)
{
    const auto found = watched_.find(watched);
    if (found == watched_.end() || forwarding_)
        return false;
    const Watched& w = found->second;
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!IsTypedCharacter(key, w.list))
            return false;
        const QString kept = Filter(w.control, key->text());
        if (kept == key->text())
            return false;
        if (!kept.isEmpty()) {
            // Rewritten (a point became the separator): type that instead.
            QKeyEvent rewritten(QEvent::KeyPress, 0, key->modifiers(), kept);
            Forward(watched, &rewritten);
        }
        return true;
    }
    if (event->type() == QEvent::InputMethod) {
        // Text an input method commits is typed text too.
        auto* input = static_cast<QInputMethodEvent*>(event);
        if (input->commitString().isEmpty())
            return false;
        const QString kept = Filter(w.control, input->commitString());
        if (kept == input->commitString())
            return false;
        QInputMethodEvent filtered(input->preeditString(), input->attributes());
        filtered.setCommitString(kept, input->replacementStart(), input->replacementLength());
        Forward(watched, &filtered);
        return true;
    }
    return false;
}

}  // namespace kvorn
