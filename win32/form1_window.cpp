#include "form1_window.h"

#include <algorithm>
#include <exception>
#include <stdexcept>

#include "edit_selection.h"
#include "keystroke_rule.h"
#include "picture_button.h"
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

RECT RectOf(const Geometry& bounds)
{
    return {bounds.Left, bounds.Top, bounds.Left + bounds.Width, bounds.Top + bounds.Height};
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
    // Borderless: the window is its client area. No DPI awareness is
    // declared, so Windows scales the whole window on dense screens.
    // No system menu: the form has none, and a right click on the picture,
    // which answers as a caption, would open it. The taskbar entry is the
    // owner's (see application_window.h).
    const DWORD style = WS_POPUP | WS_CLIPCHILDREN, exStyle = WS_EX_TOPMOST;
    RECT frame = RectOf(description.Bounds);
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
    background_ = LoadBackground(instance_);
    clearPicture_ = HBITMAP(LoadImageW(instance_, MAKEINTRESOURCEW(IDB_CLEAR), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    exitPicture_ = HBITMAP(LoadImageW(instance_, MAKEINTRESOURCEW(IDB_EXIT), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    for (const ControlDescription& control : Form1Controls)
        controlFonts_[std::size_t(control.Id)] = FontFor(control.Font);
    // Windows' tab order is the order the children are made in.
    for (Control control : TabOrder())
        CreateControl(Describe(control));
    label1Text_ = Widen(Describe(Control::Label1).Text);
    resultTip_.Create(window_, RectOf(Describe(Control::Label1).Bounds), [this] { return form_.ResultDescription(); });
    label2Text_ = Widen(Describe(Control::Label2).Text);
    form_.SetSeparator(separatorSource_());
}

Form1Window::~Form1Window() { Release(); }

void Form1Window::Release()
{
    closed_ = nullptr;
    // The children go while the form they report to still exists.
    if (window_)
        DestroyWindow(window_);
    for (const MadeFont& font : fonts_)
        DeleteObject(font.handle);
    fonts_.clear();
    for (HBITMAP* bitmap : {&background_.Bitmap, &clearPicture_, &exitPicture_}) {
        if (*bitmap)
            DeleteObject(*bitmap);
        *bitmap = nullptr;
    }
}

HFONT Form1Window::FontFor(const FontDescription& font)
{
    // Most controls share a font: each is made, and measured, once.
    for (const MadeFont& made : fonts_)
        if (made.description.Face == font.Face && made.description.PixelHeight == font.PixelHeight &&
            made.description.Bold == font.Bold)
            return made.handle;
    // A negative height asks for the character height, as described. The
    // Cyrillic character set, so that the ship names show wherever the face
    // itself has no Cyrillic letters.
    LOGFONTW wanted = {};
    wanted.lfHeight = -font.PixelHeight;
    wanted.lfWeight = font.Bold ? FW_BOLD : FW_NORMAL;
    wanted.lfCharSet = RUSSIAN_CHARSET;
    const std::wstring face = Widen(font.Face);
    lstrcpynW(wanted.lfFaceName, face.c_str(), LF_FACESIZE);
    HFONT handle = CreateFontIndirectW(&wanted);
    if (!handle)
        throw std::runtime_error("The font " + std::string(font.Face) + " cannot be made");

    // A face that stands in for a missing one (other than Windows' own
    // successor of MS Sans Serif) is made a tenth narrower, so that three
    // bold digits still fit a crew field.
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, handle);
    wchar_t chosen[LF_FACESIZE] = {};
    GetTextFaceW(screen, LF_FACESIZE, chosen);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    const bool standIn = lstrcmpiW(chosen, face.c_str()) != 0 && lstrcmpiW(chosen, L"Microsoft Sans Serif") != 0;
    if (standIn && metrics.tmAveCharWidth > 0) {
        wanted.lfWidth = (metrics.tmAveCharWidth * 9 + 5) / 10;
        if (HFONT narrower = CreateFontIndirectW(&wanted)) {
            DeleteObject(handle);
            handle = narrower;
        }
    }
    fonts_.push_back({font, handle});
    return handle;
}

void Form1Window::CreateControl(const ControlDescription& d)
{
    const wchar_t* type = nullptr;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    int height = d.Bounds.Height;
    switch (d.Kind) {
    case ControlKind::Edit:
        type = L"EDIT";
        style |= WS_BORDER | ES_AUTOHSCROLL;  // a flat border
        break;
    case ControlKind::ComboBox:
        type = L"COMBOBOX";
        // Drawn by the window, so that every list item is ListItemHeight high.
        style |= WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
        height += ListVisibleItems * ListItemHeight + 2;  // a combo box's height includes its open list
        break;
    case ControlKind::PictureButton:
        type = L"BUTTON";
        style |= BS_OWNERDRAW;
        break;
    case ControlKind::Picture:
    case ControlKind::Label:
        return;  // drawn by the window
    }
    HWND control = CreateWindowExW(0, type, Widen(d.Text).c_str(), style, d.Bounds.Left, d.Bounds.Top,
                                   d.Bounds.Width, height, window_, HMENU(INT_PTR(IdOf(d.Id))), instance_, nullptr);
    if (!control)
        throw std::runtime_error("The control " + std::string(d.Name) + " cannot be created");
    controls_[std::size_t(d.Id)] = control;
    SendMessageW(control, WM_SETFONT, WPARAM(controlFonts_[std::size_t(d.Id)]), FALSE);

    if (d.Kind == ControlKind::Edit) {
        if (d.MaxLength > 0)
            SendMessageW(control, EM_LIMITTEXT, WPARAM(d.MaxLength), 0);
        // The margins a TrueType face would get leave no room for three
        // bold digits in a crew field.
        SendMessageW(control, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(1, 1));
        AttachKeystrokeRule(control, form_, d.Id);
        AttachEditSelection(control);
    } else if (d.Kind == ControlKind::ComboBox) {
        for (std::string_view item : ListItems(d.Id))
            SendMessageW(control, CB_ADDSTRING, 0, LPARAM(Widen(item).c_str()));
        // The closed box as high as described, and ListVisibleItems rows of
        // ListItemHeight below it when open.
        SetWindowPos(control, nullptr, 0, 0, d.Bounds.Width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        // How the field's height adds up to the box's differs between
        // Windows versions (and Wine): measure and correct.
        LRESULT field = SendMessageW(control, CB_GETITEMHEIGHT, WPARAM(-1), 0);
        for (int attempt = 0; field != CB_ERR && attempt < 4; ++attempt) {
            RECT bounds;
            GetWindowRect(control, &bounds);
            const int missing = d.Bounds.Height - (bounds.bottom - bounds.top);
            if (missing == 0)
                break;
            field += missing;
            SendMessageW(control, CB_SETITEMHEIGHT, WPARAM(-1), field);
        }
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
        const RECT bounds = RectOf(Describe(control).Bounds);
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
            item.itemHeight = ListItemHeight;
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
    bounds.left += 2;
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
        // At its natural size from the top-left corner, never stretched.
        const Geometry& image = Describe(Control::Image1).Bounds;
        HDC picture = CreateCompatibleDC(screen);
        HGDIOBJ oldPicture = SelectObject(picture, background_.Bitmap);
        BitBlt(canvas, image.Left, image.Top, std::min(image.Width, background_.Width),
               std::min(image.Height, background_.Height), picture, 0, 0, SRCCOPY);
        SelectObject(picture, oldPicture);
        DeleteDC(picture);
    }

    SetBkMode(canvas, TRANSPARENT);
    // The "/" is wider than its 4-pixel label: it may stand over the edges.
    RECT slash = RectOf(Describe(Control::Label2).Bounds);
    HGDIOBJ oldFont = SelectObject(canvas, controlFonts_[std::size_t(Control::Label2)]);
    SetTextColor(canvas, GetSysColor(COLOR_WINDOWTEXT));
    DrawTextW(canvas, label2Text_.c_str(), int(label2Text_.size()), &slash,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    SelectObject(canvas, oldFont);
    const ControlDescription& result = Describe(Control::Label1);
    DrawResult(canvas, RectOf(result.Bounds), label1Text_, RGB(0, 0, 0), result.Font.PixelHeight,
               [this, &result](int height) { return FontFor({result.Font.Face, height, result.Font.Bold}); });

    BitBlt(screen, paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right - paint.rcPaint.left,
           paint.rcPaint.bottom - paint.rcPaint.top, canvas, paint.rcPaint.left, paint.rcPaint.top, SRCCOPY);
    SelectObject(canvas, oldSurface);
    DeleteObject(surface);
    DeleteDC(canvas);
    EndPaint(window_, &paint);
}

}  // namespace kvorn
