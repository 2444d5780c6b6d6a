#include "edit_selection.h"

#include "subclass.h"

namespace kvorn {

namespace {

LRESULT SelectionProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR onTabOnly)
{
    // The one GUI thread: a left click is under way for one edit at most.
    static bool leftClick = false;
    switch (message) {
    case WM_LBUTTONDOWN: {
        leftClick = true;
        const LRESULT result = CallUnder(EditSelectionSubclass, edit, message, wParam, lParam);
        leftClick = false;
        return result;
    }
    case WM_MBUTTONDOWN:
        return 0;  // Wine's edit pastes there, as no Windows edit does
    case WM_SETFOCUS: {
        const LRESULT result = CallUnder(EditSelectionSubclass, edit, message, wParam, lParam);
        const HWND from = reinterpret_cast<HWND>(wParam);
        const bool fromThisWindow = from && GetAncestor(from, GA_ROOT) == GetAncestor(edit, GA_ROOT);
        if (fromThisWindow && !leftClick && (!onTabOnly || GetKeyState(VK_TAB) < 0))
            SendMessageW(edit, EM_SETSEL, 0, -1);
        return result;
    }
    }
    return CallUnder(EditSelectionSubclass, edit, message, wParam, lParam);
}

}  // namespace

void AttachEditSelection(HWND edit, bool onTabOnly)
{
    Subclass(edit, EditSelectionSubclass, SelectionProc, onTabOnly);
}

}  // namespace kvorn
