#pragma once
// An edit's selection as the form wants it: the whole text selected when the
// focus comes into the edit other than by a left click, and the selection
// hidden while the window is inactive, then given back as it was (coming
// back to the window selects nothing new).

#include <QObject>

#include <map>

class QLineEdit;

namespace kvorn {

class EditSelection : public QObject {
public:
    using QObject::QObject;
    void Watch(QLineEdit* edit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Kept {
        int cursor, start, length;
    };
    std::map<QLineEdit*, Kept> kept_;  // edits that had the focus when the window went inactive
};

}  // namespace kvorn
