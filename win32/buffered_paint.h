#pragma once
// A window's paint drawn off screen first and then copied in one go, so
// that a changing result does not flicker.

#include <windows.h>

namespace kvorn {

class BufferedPaint {
public:
    explicit BufferedPaint(HWND window);
    // Where to draw: the whole client area, filled with the window colour.
    HDC Canvas() const { return canvas_; }

    ~BufferedPaint();
    BufferedPaint(const BufferedPaint&) = delete;
    BufferedPaint& operator=(const BufferedPaint&) = delete;

private:
    HWND window_;
    PAINTSTRUCT paint_;
    HDC screen_, canvas_;
    HBITMAP surface_;
    HGDIOBJ oldSurface_;
};

}  // namespace kvorn
