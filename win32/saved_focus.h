#pragma once
// The control that had the focus when the window was left, given back when
// it is activated again; on the first activation, the first tab stop.

#include <windows.h>

namespace kvorn {

class SavedFocus {
public:
    void Deactivated(HWND window);
    // False when there is nothing to give back: the caller focuses the first tab stop.
    bool Restore(HWND window) const;

private:
    HWND focus_ = nullptr;
};

}  // namespace kvorn
