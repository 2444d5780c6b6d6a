#include "form1_window.h"

#include <exception>
#include <stdexcept>

#include "buffered_paint.h"
#include "display_scale.h"
#include "picture_button.h"
#include "regional_settings.h"
#include "wide_text.h"
#include "window_class.h"
#include "window_ids.h"

namespace kvorn {

constexpr wchar_t ClassName[] = L"TForm1";

Form1Window::Form1Window(HINSTANCE instance, MessagePresenter& presenter, HWND owner)
    : instance_(instance),
      presenter_(presenter),
      form_(*this),
      separatorSource_(RegionalSeparator),
      closed_([] { PostQuitMessage(0); })
{
    RegisterWindowClass(instance, ClassName, WindowProc, LoadCursorW(nullptr, MAKEINTRESOURCEW(32512 /* IDC_ARROW */)));
    const WindowDescription& description = Form1Properties;
    // Borderless: the window is its client area.
    // No system menu: the form has none, and a right click on the picture,
    // which answers as a caption, would open it. The taskbar entry is the
    // owner's (see application_window.h).
    const DWORD style = WS_POPUP | WS_CLIPCHILDREN, exStyle = WS_EX_TOPMOST;
    // Laid out at its display's scale: the description's pixels are 96-dpi ones.
    dpi_ = DpiOf(nullptr);
    RECT frame = Scaled(description.Bounds);
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    CreateWindowExW(exStyle, ClassName, Widen(description.Caption).c_str(), style, frame.left, frame.top,
                    frame.right - frame.left, frame.bottom - frame.top, owner, nullptr, instance, this);
    if (!window_)
        throw std::runtime_error("The window cannot be created");
    try {
        Build();
    } catch (...) {
        Release();
        throw;
    }
}

void Form1Window::Build()
{
    if (const int dpi = DpiOf(window_); dpi != dpi_) {  // made on another display than the system's
        dpi_ = dpi;
        const RECT frame = Scaled(Form1Properties.Bounds);
        SetWindowPos(window_, nullptr, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    pictures_.Load(instance_, dpi_);
    MakeFaces();
    // Windows' tab order is the order the children are made in; each is
    // made at its place, with its face.
    for (Control control : TabOrder()) {
        CreateControl(Describe(control));
        PlaceControl(Describe(control));
    }
    label1Text_ = Widen(Describe(Control::Label1).Text);
    resultTip_.Attach(window_, Scaled(Describe(Control::Label1).Bounds), [this] { return form_.ResultDescription(); });
    label2Text_ = Widen(Describe(Control::Label2).Text);
    form_.SetSeparator(separatorSource_());
}

// Faces for what shows text: the picture and the buttons show none, and the
// result takes its face as it is drawn.
void Form1Window::MakeFaces()
{
    for (const ControlDescription& d : Form1Controls)
        if (d.Kind == ControlKind::Edit || d.Kind == ControlKind::ComboBox || d.Id == Control::Label2)
            controlFonts_[std::size_t(d.Id)] = fonts_.For(d.Font, dpi_);
}

// Every control at its place, size and face for the window's scale.
void Form1Window::Layout()
{
    MakeFaces();
    for (const ControlDescription& d : Form1Controls)
        PlaceControl(d);
    resultTip_.SetBounds(Scaled(Describe(Control::Label1).Bounds));
    InvalidateRect(window_, nullptr, TRUE);
}

void Form1Window::PlaceControl(const ControlDescription& d)
{
    HWND control = controls_[std::size_t(d.Id)];
    if (!control)
        return;
    const RECT bounds = Scaled(d.Bounds);
    const HFONT font = controlFonts_[std::size_t(d.Id)];
    if (d.Kind == ControlKind::ComboBox) {
        SelectorOf(d.Id).Place(bounds, font, dpi_);
        return;
    }
    if (!StandsAt(control, bounds))
        SetWindowPos(control, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                     bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (font)
        SendMessageW(control, WM_SETFONT, WPARAM(font), IsWindowVisible(window_));
    if (d.Kind == ControlKind::Edit) {
        // The margins a TrueType face would get leave no room for three
        // bold digits in a crew field.
        const int margin = Scaled(1);
        SendMessageW(control, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(margin, margin));
    }
}

// Moved to a display of another scale: everything laid out and drawn anew.
void Form1Window::DpiChanged(int dpi, const RECT& suggested)
{
    dpi_ = dpi;
    TakeSuggestedBounds(window_, suggested);
    pictures_.Load(instance_, dpi_);
    Layout();
    fonts_.KeepOnly(dpi_);  // the controls no longer use the others
}

Form1Window::~Form1Window() { Release(); }

void Form1Window::Release()
{
    closed_ = nullptr;
    // The children go while the form they report to still exists.
    if (window_)
        DestroyWindow(window_);
    fonts_.Clear();
    pictures_.Release();
}

void Form1Window::SetSeparatorSource(SeparatorSource source)
{
    separatorSource_ = std::move(source);
    form_.SetSeparator(separatorSource_());
}

void Form1Window::Show(int showCommand, const std::function<void()>& shown)
{
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
    for (SelectorBox& selector : selectors_)
        selector.Fill();
    if (shown)
        shown();
    if (!pictures_.background.Bitmap)
        ShowError("The background picture cannot be shown: " + pictures_.background.Error);
}

LRESULT CALLBACK Form1Window::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Form1Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, LONG_PTR(self));
    }
    auto* self = reinterpret_cast<Form1Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    // No C++ exception may cross into Windows: a failure is shown here, the
    // message counts as handled and the window carries on.
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (const std::exception& error) {
        self->ReportFailure(error.what());
    } catch (...) {
        self->ReportFailure("Unknown error");
    }
    return 0;
}

void Form1Window::ReportFailure(const char* message)
{
    try {
        ShowError(message);
    } catch (...) {  // nothing is left to tell the user with
    }
}

LRESULT Form1Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCHITTEST: {
        // The picture and the labels have no windows of their own: what the
        // default calls the client area drags the window, as a title bar.
        const LRESULT hit = DefWindowProcW(window_, message, wParam, lParam);
        return hit == HTCLIENT ? HTCAPTION : hit;
    }
    case WM_COMMAND:
        Command(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_NOTIFY:
        if (resultTip_.Notified(*reinterpret_cast<const NMHDR*>(lParam)))
            return 0;
        break;
    // The picture and the labels answer as a caption: the menu opens on the
    // button's release, which Wine's default for the press would swallow.
    case WM_NCRBUTTONDOWN:
        if (wParam == HTCAPTION)
            return 0;
        break;
    case WM_NCRBUTTONUP:
        if (wParam == HTCAPTION && OpenWindowMenu(window_, form_, window_, lParam))
            return 0;
        break;
    case WM_CONTEXTMENU:
        if (OpenWindowMenu(window_, form_, HWND(wParam), lParam))
            return 0;
        break;
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
        resultTip_.PointerMoved(message, lParam);
        break;
    case SelectorBox::PickedMessage:
    case SelectorBox::ClosedMessage:
    case SelectorBox::DroppedMessage:
        if (wParam < controls_.size() && controls_[wParam])  // not after the window has gone
            SelectorOf(Control(wParam)).Posted(message);
        return 0;
    case WM_ACTIVATE:
        Activated(LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam));
        return 0;
    case WM_DPICHANGED:
        DpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_SETTINGCHANGE:
        if (lParam && lstrcmpW(reinterpret_cast<const wchar_t*>(lParam), L"intl") == 0)
            form_.SetSeparator(separatorSource_());
        return 0;
    case WM_CTLCOLOREDIT: {
        // The edits and the combo boxes' text parts: the button-face colour.
        HDC dc = HDC(wParam);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return LRESULT(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_MEASUREITEM: {
        auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item.CtlType == ODT_COMBOBOX && item.itemID != UINT(-1))
            item.itemHeight = SelectorBox::ItemHeight(dpi_);
        return TRUE;
    }
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.CtlType == ODT_COMBOBOX) {
            SelectorBox::DrawItem(item, dpi_);
        } else {
            Control control;
            if (ControlOfId(WORD(item.CtlID), control))
                DrawPictureButton(item, control == Control::BitBtn1 ? pictures_.clear : pictures_.exit);
        }
        return TRUE;
    }
    case WM_ERASEBKGND:
        return 1;  // the paint covers everything
    case WM_PAINT:
        Paint();
        return 0;
    case WM_DESTROY:
        if (closed_)
            closed_();
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        window_ = nullptr;
        controls_ = {};
        return 0;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void Form1Window::Activated(bool active)
{
    if (!active)
        savedFocus_.Deactivated(window_);
    else if (!savedFocus_.Restore(window_))
        Focus(TabOrder().front());
}

void Form1Window::Paint()
{
    const BufferedPaint paint(window_);
    HDC canvas = paint.Canvas();
    pictures_.DrawBackground(canvas, Scaled(Describe(Control::Image1).Bounds));
    SetBkMode(canvas, TRANSPARENT);
    // The "/" is wider than its 4-pixel label: it may stand over the edges.
    RECT slash = Scaled(Describe(Control::Label2).Bounds);
    HGDIOBJ oldFont = SelectObject(canvas, controlFonts_[std::size_t(Control::Label2)]);
    SetTextColor(canvas, GetSysColor(COLOR_WINDOWTEXT));
    DrawTextW(canvas, label2Text_.c_str(), int(label2Text_.size()), &slash,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    SelectObject(canvas, oldFont);
    const ControlDescription& result = Describe(Control::Label1);
    DrawResult(canvas, Scaled(result.Bounds), label1Text_, RGB(ResultColour.Red, ResultColour.Green, ResultColour.Blue), result.Font.PixelHeight, dpi_,
               [this, &result](int height) { return fonts_.For({result.Font.Face, height, result.Font.Bold}, dpi_); });
}

}  // namespace kvorn
