#pragma once
// Runs every typed character through the form's key-press handler of its
// control before the control sees it: key events and input-method text, in
// the edits, the combo boxes and their open lists.

#include <QObject>

#include <map>

#include "form_view.h"

namespace kvorn {

class TForm1;

class KeystrokeRule : public QObject {
public:
    KeystrokeRule(kvorn::TForm1& form, QObject* parent) : QObject(parent), form_(form) {}
    // Judges what `watched` receives as typed by `control`'s rule. An open
    // list (`list` true) keeps its navigation, Return and Escape.
    void Watch(QObject* watched, kvorn::Control control, bool list = false);
    void Unwatch();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Watched {
        kvorn::Control control;
        bool list;
    };
    QString Filter(kvorn::Control control, const QString& typed);
    void Forward(QObject* watched, QEvent* event);

    kvorn::TForm1& form_;
    std::map<QObject*, Watched> watched_;
    bool forwarding_ = false;  // a rewritten keystroke on its way to the control
};

}  // namespace kvorn
