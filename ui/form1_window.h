#pragma once
// The calculator window in Qt: the widgets the form description lists,
// styled, with the form's handlers behind their events. Everything the form
// does is kvorn::TForm1's; this class only shows it.

#include <QPoint>
#include <QWidget>

#include <functional>
#include <map>

#include "form_description.h"
#include "tform1.h"

class QLabel;
class QLineEdit;

namespace kvorn {

class EditSelection;
class KeystrokeRule;
class MessagePresenter;
class PictureButton;
class SelectorBox;
class WindowMenu;

class Form1Window : public QWidget, private kvorn::FormView {
    Q_OBJECT
public:
    using SeparatorSource = std::function<char32_t()>;

    explicit Form1Window(MessagePresenter& presenter, QWidget* parent = nullptr);
    ~Form1Window() override;

    const kvorn::ShipCoefficients& Coefficients() const { return form_.Coefficients(); }
    char32_t Separator() const { return form_.Separator(); }
    // Where the regional separator is read from, now and on every notice of
    // changed settings.
    void SetSeparatorSource(SeparatorSource source);

    // The controls, named as the form description names them.
    QLabel* Image1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLineEdit* Edit6 = nullptr;
    QLineEdit* Edit7 = nullptr;
    SelectorBox* ComboBox1 = nullptr;
    SelectorBox* ComboBox2 = nullptr;
    PictureButton* BitBtn1 = nullptr;
    PictureButton* BitBtn2 = nullptr;

protected:
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // kvorn::FormView
    std::string Text(kvorn::Control control) const override;
    void SetText(kvorn::Control control, std::string_view text) override;
    void Focus(kvorn::Control control) override;
    void ShowMessage(std::string_view text) override;
    void ShowError(std::string_view message) override;
    void Close() override;
    std::string ClipboardText() const override;
    void SetClipboardText(std::string_view text) override;

    QWidget* Create(const kvorn::ControlDescription& description);
    void Wire(kvorn::Control control, QWidget* widget);
    void LoadPictures();
    // Moves the window by its background: the platform's own move where it
    // has one, else by following the mouse.
    void DragAnywhere(QMouseEvent* event);

    MessagePresenter& presenter_;
    kvorn::TForm1 form_;
    SeparatorSource separatorSource_;
    std::map<kvorn::Control, QWidget*> controls_;
    KeystrokeRule* keystrokes_;
    EditSelection* selection_;
    WindowMenu* menu_;
    QMetaObject::Connection screenChanged_;
    bool dragging_ = false;
    QPoint dragOffset_;
};

}  // namespace kvorn
