#pragma once

#include <QComboBox>

// A combo box that draws its own drop-down arrow: the styled frame leaves
// the arrow out, and an arrow image in the style sheet would make Qt load
// every image plugin at start-up to read it.
class SelectorBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;

protected:
    void paintEvent(QPaintEvent* event) override;
};
