#pragma once

#include <QPushButton>

namespace kvorn {

// A push button whose face is its picture: drawn at natural size, centred,
// so a picture slightly larger than the button fills it and loses its
// outermost pixels. Return clicks it as Space does, as on Windows.
class PictureButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace kvorn
