#include "keystroke_rule.h"

#include "subclass.h"

namespace kvorn {

namespace {

struct Binding {
    TForm1* form;
    Control control;
    bool comboText;  // the text part of a combo box
};

// Whether `units` more UTF-16 units would take the edit past its limit:
// Wine then refuses them, or pastes nothing, but still reports a change.
bool Overflows(HWND edit, int units)
{
    DWORD from = 0, to = 0;
    SendMessageW(edit, EM_GETSEL, WPARAM(&from), LPARAM(&to));
    const LRESULT limit = SendMessageW(edit, EM_GETLIMITTEXT, 0, 0);
    return GetWindowTextLengthW(edit) - int(to - from) + units > limit;
}

LRESULT KeystrokeProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR data)
{
    auto* binding = reinterpret_cast<Binding*>(data);
    switch (message) {
    case WM_CHAR:
    case WM_IME_CHAR: {
        // Enter and Escape in an open list pick or cancel: the list's own
        // navigation, not a character typed into the text.
        if (binding->comboText && (wParam == VK_RETURN || wParam == VK_ESCAPE) &&
            SendMessageW(GetParent(edit), CB_GETDROPPEDSTATE, 0, 0))
            break;
        // One UTF-16 unit at a time: each half of a surrogate pair is judged
        // on its own, and no rule lets either through.
        const char32_t key = binding->form->KeyPressed(binding->control, char32_t(wParam & 0xFFFF));
        if (key == 0 || (key >= 0x20 && Overflows(edit, key > 0xFFFF ? 2 : 1)))
            return 0;
        if (key <= 0xFFFF)
            return CallUnder(KeystrokeRuleSubclass, edit, WM_CHAR, WPARAM(key), lParam);
        const char32_t offset = key - 0x10000;
        CallUnder(KeystrokeRuleSubclass, edit, WM_CHAR, WPARAM(0xD800 + (offset >> 10)), lParam);
        return CallUnder(KeystrokeRuleSubclass, edit, WM_CHAR, WPARAM(0xDC00 + (offset & 0x3FF)), lParam);
    }
    case WM_KEYDOWN:  // Shift+Insert: Wine's edit pastes without a WM_PASTE
        if (wParam != VK_INSERT || GetKeyState(VK_SHIFT) >= 0 || GetKeyState(VK_CONTROL) < 0)
            break;
        [[fallthrough]];
    case WM_PASTE:
        if (Overflows(edit, 1))
            return 0;  // nothing would go in
        break;
    case WM_NCDESTROY:
    {
        const LRESULT result = CallUnder(KeystrokeRuleSubclass, edit, message, wParam, lParam);
        delete binding;
        return result;
    }
    }
    return CallUnder(KeystrokeRuleSubclass, edit, message, wParam, lParam);
}

}  // namespace

void AttachKeystrokeRule(HWND edit, TForm1& form, Control control)
{
    wchar_t parentType[16] = {};
    GetClassNameW(GetParent(edit), parentType, 16);
    const bool comboText = lstrcmpiW(parentType, L"ComboBox") == 0;
    Subclass(edit, KeystrokeRuleSubclass, KeystrokeProc, DWORD_PTR(new Binding{&form, control, comboText}));
}

}  // namespace kvorn
