#pragma once

#include <QComboBox>

namespace kvorn {

// A drop-down combo box with an editable text part, as the form has them:
// - it draws its own drop-down arrow (the styled frame leaves it out, and an
//   arrow image in the style sheet would make Qt load every image plugin);
// - its text stays exactly as the user left it: Qt's own look-up of the
//   text among the items on Return and on leaving is switched off;
// - the mouse wheel changes it only while it has the focus.
class SelectorBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    // Makes the text part editable; call once, after construction.
    void MakeEditable();

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
};

}  // namespace kvorn
