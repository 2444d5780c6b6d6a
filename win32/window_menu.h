#pragma once
// The window's context menu in Win32, made from the form's description of
// it each time it opens: a right click on the picture or the result (which
// answer as the window's caption), the Menu key or Shift+F10 on a button,
// which has no menu of its own. The fields keep their own menus.
// And the clipboard's text, which the menu's commands read and write.

#include <windows.h>

#include <string>
#include <string_view>

namespace kvorn {

class TForm1;

// Answers a WM_CONTEXTMENU that reached `window` from `from` (the window,
// or the child whose menu it is) at `at` (screen coordinates, or -1 from
// the keyboard); returns false where the request is not the window's.
bool OpenWindowMenu(HWND window, TForm1& form, HWND from, LPARAM at);

// UTF-8; empty when the clipboard holds no text or is busy.
std::string ClipboardText(HWND owner);
void SetClipboardText(HWND owner, std::string_view text);

}  // namespace kvorn
