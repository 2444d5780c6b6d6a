#include "buffered_paint.h"

namespace kvorn {

BufferedPaint::BufferedPaint(HWND window) : window_(window)
{
    screen_ = BeginPaint(window_, &paint_);
    RECT client;
    GetClientRect(window_, &client);
    canvas_ = CreateCompatibleDC(screen_);
    surface_ = CreateCompatibleBitmap(screen_, client.right, client.bottom);
    oldSurface_ = SelectObject(canvas_, surface_);
    FillRect(canvas_, &client, GetSysColorBrush(COLOR_WINDOW));
}

BufferedPaint::~BufferedPaint()
{
    const RECT& dirty = paint_.rcPaint;
    BitBlt(screen_, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top, canvas_, dirty.left,
           dirty.top, SRCCOPY);
    SelectObject(canvas_, oldSurface_);
    DeleteObject(surface_);
    DeleteDC(canvas_);
    EndPaint(window_, &paint_);
}

}  // namespace kvorn
