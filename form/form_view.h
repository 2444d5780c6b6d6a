#pragma once
// What the form needs of a window: the texts of its controls, the focus,
// the two boxes, closing and the clipboard. The Qt window and the Win32 window each
// implement it; the form's behaviour never sees a toolkit.

#include <string>
#include <string_view>

namespace kvorn {

// The form's controls, named as the form description names them.
enum class Control {
    Image1, Label2, Label1,
    Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7,
    ComboBox1, ComboBox2,
    BitBtn1, BitBtn2,
};

class FormView {
public:
    virtual ~FormView() = default;
    // UTF-8 text of an edit or a combo box, the caption of a label.
    virtual std::string Text(Control control) const = 0;
    // Sets a text or a caption. Setting a combo box's text this way does not
    // fire its change event.
    virtual void SetText(Control control, std::string_view text) = 0;
    virtual void Focus(Control control) = 0;
    // The modal message; returns once the user has closed it.
    virtual void ShowMessage(std::string_view text) = 0;
    // The error box for a failure that escaped a handler; `message` is the
    // failure's own text, before the final-point rule.
    virtual void ShowError(std::string_view message) = 0;
    // Closes the window, which ends the program.
    virtual void Close() = 0;
    // The system clipboard's text, UTF-8; empty when it holds none.
    virtual std::string ClipboardText() const = 0;
    virtual void SetClipboardText(std::string_view text) = 0;
};

}  // namespace kvorn
