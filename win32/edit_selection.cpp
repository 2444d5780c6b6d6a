#include "edit_selection.h"

#include <commctrl.h>

#include "window_ids.h"

namespace kvorn {

namespace {

LRESULT CALLBACK SelectionProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    // The one GUI thread: a left click is under way for one edit at most.
    static bool leftClick = false;
    switch (message) {
    case WM_LBUTTONDOWN: {
        leftClick = true;
        const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
        leftClick = false;
        return result;
    }
    case WM_SETFOCUS: {
        const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
        const HWND from = reinterpret_cast<HWND>(wParam);
        const bool fromThisWindow = from && GetAncestor(from, GA_ROOT) == GetAncestor(edit, GA_ROOT);
        if (fromThisWindow && !leftClick)
            SendMessageW(edit, EM_SETSEL, 0, -1);
        return result;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(edit, SelectionProc, EditSelectionSubclass);
        break;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace

void AttachEditSelection(HWND edit) { SetWindowSubclass(edit, SelectionProc, EditSelectionSubclass, 0); }

}  // namespace kvorn
