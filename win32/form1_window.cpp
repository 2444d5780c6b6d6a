#include "form1_window.h"

#include <algorithm>
#include <exception>
#include <stdexcept>

#include "edit_selection.h"
#include "keystroke_rule.h"
#include "picture_button.h"
#include "scaled_picture.h"
#include "resource_ids.h"
#include "wide_text.h"

namespace kvorn {

namespace {

constexpr wchar_t ClassName[] = L"TForm1";
// Control ids stay clear of IDOK and IDCANCEL, which IsDialogMessage sends
// for Enter and Escape.
constexpr WORD FirstControlId = 100;

WORD IdOf(Control control) { return WORD(FirstControlId + int(control)); }

bool ControlOfId(WORD id, Control& control)
{
    if (id < FirstControlId || id >= FirstControlId + Form1Controls.size())
        return false;
    control = Control(id - FirstControlId);
    return true;
}

// The window's DPI: the display's where Windows tells it per window (10 and
// later), else the system's.
int DpiOf(HWND window)
{
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow && window)
        if (const UINT dpi = getDpiForWindow(window))
            return int(dpi);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

std::wstring WindowText(HWND window)
{
    std::wstring text(std::size_t(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(window, text.data(), int(text.size()))));
    return text;
}

ATOM RegisterFormClass(HINSTANCE instance, WNDPROC procedure)
{
    WNDCLASSEXW type = {};
    type.cbSize = sizeof type;
    type.lpfnWndProc = procedure;
    type.hInstance = instance;
    type.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_SHIP));
    type.hIconSm = HICON(LoadImageW(instance, MAKEINTRESOURCEW(IDI_SHIP), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                    GetSystemMetrics(SM_CYSMICON), 0));
    type.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512 /* IDC_ARROW */));
    type.lpszClassName = ClassName;
    const ATOM atom = RegisterClassExW(&type);
    return atom ? atom : ATOM(GetClassInfoExW(instance, ClassName, &type));
}

}  // namespace

Form1Window::Form1Window(HINSTANCE instance, MessagePresenter& presenter, SeparatorSource separatorSource,
                         HWND owner)
    : instance_(instance),
      presenter_(presenter),
      form_(*this),
      separatorSource_(std::move(separatorSource)),
      closed_([] { PostQuitMessage(0); })
{
    if (!RegisterFormClass(instance, WindowProc))
        throw std::runtime_error("The window class cannot be registered");
    const WindowDescription& description = Form1Properties;
    // Borderless: the window is its client area.
    // No system menu: the form has none, and a right click on the picture,
    // which answers as a caption, would open it. The taskbar entry is the
    // owner's (see application_window.h).
    const DWORD style = WS_POPUP | WS_CLIPCHILDREN, exStyle = WS_EX_TOPMOST;
    // The description's pixels are 96-dpi pixels: the window is laid out at
    // its display's scale (the program is per-monitor DPI aware).
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
    LoadPictures();
    // Windows' tab order is the order the children are made in.
    for (Control control : TabOrder())
        CreateControl(Describe(control));
    label1Text_ = Widen(Describe(Control::Label1).Text);
    resultTip_.Create(window_, Scaled(Describe(Control::Label1).Bounds), [this] { return form_.ResultDescription(); });
    label2Text_ = Widen(Describe(Control::Label2).Text);
    Layout();
    form_.SetSeparator(separatorSource_());
}

RECT Form1Window::Scaled(const Geometry& bounds) const
{
    const int left = Scaled(bounds.Left), top = Scaled(bounds.Top);
    return {left, top, left + Scaled(bounds.Width), top + Scaled(bounds.Height)};
}

void Form1Window::LoadPictures()
{
    ReleasePictures();
    background_ = LoadBackground(instance_, dpi_);
    clearPicture_ = LoadButtonPicture(instance_, IDB_CLEAR, dpi_);
    exitPicture_ = LoadButtonPicture(instance_, IDB_EXIT, dpi_);
}

void Form1Window::ReleasePictures()
{
    for (HBITMAP* bitmap : {&background_.Bitmap, &clearPicture_, &exitPicture_}) {
        if (*bitmap)
            DeleteObject(*bitmap);
        *bitmap = nullptr;
    }
}

// Every control at its place, size and face for the window's scale.
void Form1Window::Layout()
{
    for (const ControlDescription& control : Form1Controls)
        controlFonts_[std::size_t(control.Id)] = fonts_.For(control.Font, dpi_);
    for (const ControlDescription& d : Form1Controls) {
        HWND control = controls_[std::size_t(d.Id)];
        if (!control)
            continue;
        const RECT bounds = Scaled(d.Bounds);
        int height = bounds.bottom - bounds.top;
        if (d.Kind == ControlKind::ComboBox)  // a combo box's height includes its open list
            height += ListVisibleItems * Scaled(ListItemHeight) + 2;
        SetWindowPos(control, nullptr, bounds.left, bounds.top, bounds.right - bounds.left, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(control, WM_SETFONT, WPARAM(controlFonts_[std::size_t(d.Id)]), TRUE);
        if (d.Kind == ControlKind::Edit) {
            // The margins a TrueType face would get leave no room for three
            // bold digits in a crew field.
            const int margin = Scaled(1);
            SendMessageW(control, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(margin, margin));
        } else if (d.Kind == ControlKind::ComboBox) {
            SendMessageW(control, CB_SETITEMHEIGHT, 0, Scaled(ListItemHeight));
            // How the field's height adds up to the box's differs between
            // Windows versions (and Wine): measure and correct.
            LRESULT field = SendMessageW(control, CB_GETITEMHEIGHT, WPARAM(-1), 0);
            for (int attempt = 0; field != CB_ERR && attempt < 4; ++attempt) {
                RECT shown;
                GetWindowRect(control, &shown);
                const int missing = (bounds.bottom - bounds.top) - (shown.bottom - shown.top);
                if (missing == 0)
                    break;
                field += missing;
                SendMessageW(control, CB_SETITEMHEIGHT, WPARAM(-1), field);
            }
        }
    }
    resultTip_.SetBounds(Scaled(Describe(Control::Label1).Bounds));
    InvalidateRect(window_, nullptr, TRUE);
}

// Moved to a display of another scale: the size Windows suggests, at the
// place the user left it, and everything laid out and drawn anew.
void Form1Window::DpiChanged(int dpi, const RECT& suggested)
{
    dpi_ = dpi;
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    LoadPictures();
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
    ReleasePictures();
}

void Form1Window::CreateControl(const ControlDescription& d)
{
    const wchar_t* type = nullptr;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    switch (d.Kind) {
    case ControlKind::Edit:
        type = L"EDIT";
        style |= WS_BORDER | ES_AUTOHSCROLL;  // a flat border
        break;
    case ControlKind::ComboBox:
        type = L"COMBOBOX";
        // Drawn by the window, so that every list item is ListItemHeight high.
        style |= WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
        break;
    case ControlKind::PictureButton:
        type = L"BUTTON";
        style |= BS_OWNERDRAW;
        break;
    case ControlKind::Picture:
    case ControlKind::Label:
        return;  // drawn by the window
    }
    // Placed, sized and given its face by Layout().
    HWND control = CreateWindowExW(0, type, Widen(d.Text).c_str(), style, 0, 0, 0, 0, window_,
                                   HMENU(INT_PTR(IdOf(d.Id))), instance_, nullptr);
    if (!control)
        throw std::runtime_error("The control " + std::string(d.Name) + " cannot be created");
    controls_[std::size_t(d.Id)] = control;

    if (d.Kind == ControlKind::Edit) {
        if (d.MaxLength > 0)
            SendMessageW(control, EM_LIMITTEXT, WPARAM(d.MaxLength), 0);
        AttachKeystrokeRule(control, form_, d.Id);
        AttachEditSelection(control);
    } else if (d.Kind == ControlKind::ComboBox) {
        for (std::string_view item : ListItems(d.Id))
            SendMessageW(control, CB_ADDSTRING, 0, LPARAM(Widen(item).c_str()));
        COMBOBOXINFO parts = {};
        parts.cbSize = sizeof parts;
        if (GetComboBoxInfo(control, &parts) && parts.hwndItem)
            AttachKeystrokeRule(parts.hwndItem, form_, d.Id);
        SelectorBox& selector = SelectorOf(d.Id);
        const Control id = d.Id;
        selector.Attach(control, window_, WPARAM(id), [this, id] { form_.Changed(id); });
        selector.SetText(Widen(d.Text));
    }
}

void Form1Window::Show(int showCommand)
{
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
    if (!background_.Bitmap)
        ShowError("The background picture cannot be shown: " + background_.Error);
}

// --- FormView ---------------------------------------------------------------

std::string Form1Window::Text(Control control) const
{
    switch (control) {
    case Control::Label1: return Narrow(label1Text_);
    case Control::Label2: return Narrow(label2Text_);
    case Control::Image1: return {};
    default: return Narrow(WindowText(controls_[std::size_t(control)]));
    }
}

void Form1Window::SetText(Control control, std::string_view text)
{
    const std::wstring value = Widen(text);
    if (control == Control::Label1 || control == Control::Label2) {
        (control == Control::Label1 ? label1Text_ : label2Text_) = value;
        const RECT bounds = Scaled(Describe(control).Bounds);
        InvalidateRect(window_, &bounds, FALSE);
        return;
    }
    HWND window = controls_[std::size_t(control)];
    if (!window)
        return;
    if (Describe(control).Kind == ControlKind::ComboBox) {
        SelectorOf(control).SetText(value);
        return;
    }
    SetWindowTextW(window, value.c_str());
}

void Form1Window::Focus(Control control)
{
    if (HWND window = controls_[std::size_t(control)])
        SetFocus(window);
}

void Form1Window::ShowMessage(std::string_view text) { presenter_.ShowMessage(window_, text); }
void Form1Window::ShowError(std::string_view message) { presenter_.ShowError(window_, message); }
void Form1Window::Close() { SendMessageW(window_, WM_CLOSE, 0, 0); }

// --- Messages ---------------------------------------------------------------

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
    } catch (...) {
        // Nothing is left to tell the user with.
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
            item.itemHeight = UINT(Scaled(ListItemHeight));
        return TRUE;
    }
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.CtlType == ODT_COMBOBOX) {
            DrawListItem(item);
        } else {
            Control control;
            if (ControlOfId(WORD(item.CtlID), control))
                DrawPictureButton(item, control == Control::BitBtn1 ? clearPicture_ : exitPicture_);
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

void Form1Window::Command(WORD id, WORD code)
{
    if (id == IDOK) {
        // Enter, through the dialog manager: it presses the focused button.
        const HWND focus = GetFocus();
        for (Control button : {Control::BitBtn1, Control::BitBtn2})
            if (focus && focus == controls_[std::size_t(button)])
                form_.Clicked(button);
        return;
    }
    Control control;
    if (!ControlOfId(id, control))
        return;
    switch (Describe(control).Kind) {
    case ControlKind::Edit:
        if (code == EN_CHANGE)
            form_.Changed(control);
        break;
    case ControlKind::ComboBox:
        SelectorOf(control).Notified(code);
        break;
    case ControlKind::PictureButton:
        if (code == BN_CLICKED)
            form_.Clicked(control);
        break;
    default:
        break;
    }
}

SelectorBox& Form1Window::SelectorOf(Control control)
{
    return selectors_[control == Control::ComboBox1 ? 0 : 1];
}

void Form1Window::DrawListItem(const DRAWITEMSTRUCT& item)
{
    const bool selected = item.itemState & ODS_SELECTED;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemID == UINT(-1))
        return;
    const LRESULT length = SendMessageW(item.hwndItem, CB_GETLBTEXTLEN, item.itemID, 0);
    if (length == CB_ERR)
        return;
    std::wstring text(std::size_t(length) + 1, L'\0');
    SendMessageW(item.hwndItem, CB_GETLBTEXT, item.itemID, LPARAM(text.data()));
    text.resize(std::size_t(length));
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT bounds = item.rcItem;
    bounds.left += Scaled(2);
    DrawTextW(item.hDC, text.c_str(), int(text.size()), &bounds, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(item.hDC, &item.rcItem);
}

void Form1Window::Activated(bool active)
{
    if (!active) {
        const HWND focus = GetFocus();
        if (focus && IsChild(window_, focus))
            savedFocus_ = focus;
        return;
    }
    // The first activation puts the focus on the first tab stop; later ones
    // give back the control that had it.
    if (savedFocus_ && IsWindow(savedFocus_) && IsChild(window_, savedFocus_))
        SetFocus(savedFocus_);
    else
        Focus(TabOrder().front());
}

void Form1Window::Paint()
{
    PAINTSTRUCT paint;
    HDC screen = BeginPaint(window_, &paint);
    RECT client;
    GetClientRect(window_, &client);
    // Drawn off screen first, so that a changing result does not flicker.
    HDC canvas = CreateCompatibleDC(screen);
    HBITMAP surface = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ oldSurface = SelectObject(canvas, surface);
    FillRect(canvas, &client, GetSysColorBrush(COLOR_WINDOW));

    if (background_.Bitmap) {
        // At its natural size (drawn for this scale) from the top-left
        // corner, never stretched here.
        const RECT image = Scaled(Describe(Control::Image1).Bounds);
        HDC picture = CreateCompatibleDC(screen);
        HGDIOBJ oldPicture = SelectObject(picture, background_.Bitmap);
        BitBlt(canvas, image.left, image.top, std::min(int(image.right - image.left), background_.Width),
               std::min(int(image.bottom - image.top), background_.Height), picture, 0, 0, SRCCOPY);
        SelectObject(picture, oldPicture);
        DeleteDC(picture);
    }

    SetBkMode(canvas, TRANSPARENT);
    // The "/" is wider than its 4-pixel label: it may stand over the edges.
    RECT slash = Scaled(Describe(Control::Label2).Bounds);
    HGDIOBJ oldFont = SelectObject(canvas, controlFonts_[std::size_t(Control::Label2)]);
    SetTextColor(canvas, GetSysColor(COLOR_WINDOWTEXT));
    DrawTextW(canvas, label2Text_.c_str(), int(label2Text_.size()), &slash,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    SelectObject(canvas, oldFont);
    const ControlDescription& result = Describe(Control::Label1);
    DrawResult(canvas, Scaled(result.Bounds), label1Text_, RGB(0, 0, 0), result.Font.PixelHeight, dpi_,
               [this, &result](int height) { return fonts_.For({result.Font.Face, height, result.Font.Bold}, dpi_); });

    BitBlt(screen, paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right - paint.rcPaint.left,
           paint.rcPaint.bottom - paint.rcPaint.top, canvas, paint.rcPaint.left, paint.rcPaint.top, SRCCOPY);
    SelectObject(canvas, oldSurface);
    DeleteObject(surface);
    DeleteDC(canvas);
    EndPaint(window_, &paint);
}

}  // namespace kvorn
