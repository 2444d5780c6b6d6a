#pragma once
// The calculator window for Windows, built from the form description: the
// edits, combo boxes and buttons are child windows, made in tab order; the
// background picture and the two labels are drawn by the window itself, so
// that pressing on them drags the window. Every event goes to the form's
// behaviour (TForm1), which writes back through the FormView below.

#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "described_font.h"
#include "form_description.h"
#include "form_view.h"
#include "display_scale.h"
#include "message_presenter.h"
#include "pictures.h"
#include "result_label.h"
#include "saved_focus.h"
#include "selector_box.h"
#include "tform1.h"
#include "window_menu.h"

namespace kvorn {

class Form1Window final : public FormView {
public:
    using SeparatorSource = std::function<char32_t()>;

    // Creates the window, hidden; throws std::runtime_error when Windows
    // refuses. `presenter` must outlive the window.
    // `owner` is the application's window, where there is one.
    Form1Window(HINSTANCE instance, MessagePresenter& presenter, HWND owner = nullptr);
    ~Form1Window() override;
    Form1Window(const Form1Window&) = delete;
    Form1Window& operator=(const Form1Window&) = delete;

    // Where the regional separator is read from, now and on every notice of
    // changed settings.
    void SetSeparatorSource(SeparatorSource source);
    // Shows the window and its first frame, then lists the selectors'
    // items, runs `shown` and reports a background that could not be decoded.
    void Show(int showCommand, const std::function<void()>& shown = nullptr);
    // What happens once the window is gone; ends the message loop unless
    // told otherwise.
    void SetClosedHandler(std::function<void()> closed) { closed_ = std::move(closed); }

    HWND Handle() const { return window_; }
    // The child window of an edit, a combo box or a button; null for the
    // picture and the labels, which have none.
    HWND ControlHandle(Control control) const { return controls_[std::size_t(control)]; }
    TForm1& Form() { return form_; }

    std::string Text(Control control) const override;
    void SetText(Control control, std::string_view text) override;
    void Focus(Control control) override;
    void ShowMessage(std::string_view text) override;
    void ShowError(std::string_view message) override;
    void Close() override;
    std::string ClipboardText() const override { return kvorn::ClipboardText(window_); }
    void SetClipboardText(std::string_view text) override { kvorn::SetClipboardText(window_, text); }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Build();
    void Release();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControl(const ControlDescription& description);
    void Command(WORD id, WORD code);
    void Activated(bool active);
    void Paint();
    void ReportFailure(const char* message);
    int Scaled(int pixels) const { return kvorn::Scaled(pixels, dpi_); }
    RECT Scaled(const Geometry& bounds) const { return kvorn::Scaled(bounds, dpi_); }
    void MakeFaces();
    void Layout();
    void PlaceControl(const ControlDescription& description);
    void DpiChanged(int dpi, const RECT& suggested);
    SelectorBox& SelectorOf(Control control);

    HINSTANCE instance_;
    MessagePresenter& presenter_;
    TForm1 form_;
    SeparatorSource separatorSource_;
    std::function<void()> closed_;
    HWND window_ = nullptr;
    std::array<HWND, Form1Controls.size()> controls_ = {};
    std::array<HFONT, Form1Controls.size()> controlFonts_ = {};
    int dpi_ = 96;  // the display's, which the described 96-dpi pixels are scaled to
    DescribedFonts fonts_;
    std::wstring label1Text_, label2Text_;
    ResultTip resultTip_;
    FormPictures pictures_;
    std::array<SelectorBox, 2> selectors_;
    SavedFocus savedFocus_;
};

}  // namespace kvorn
