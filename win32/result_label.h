#pragma once
// The result label, drawn by the window: the exact score, whole and
// centred, in a smaller face or in the exponent form where the described
// face cannot hold it. Nothing is drawn outside the label. Resting the
// pointer on it shows the result's breakdown in a tooltip, built when the
// tooltip asks for it.

#include <windows.h>

#include <functional>
#include <string>

namespace kvorn {

// `faceOf` gives the label's face at a character height.
// `bounds` in the window's pixels; `describedHeight` and the heights
// `faceOf` is asked for in 96-dpi pixels, the form description's.
void DrawResult(HDC dc, const RECT& bounds, const std::wstring& text, COLORREF colour, int describedHeight, int dpi,
                const std::function<HFONT(int pixelHeight)>& faceOf);

class ResultTip {
public:
    using Describer = std::function<std::string()>;  // UTF-8; empty: no tip
    ResultTip() = default;
    ResultTip(const ResultTip&) = delete;
    ResultTip& operator=(const ResultTip&) = delete;
    ~ResultTip();

    // A tooltip over `bounds` of `owner`'s client area, made when the
    // pointer first comes there: a start-up need not wait for it.
    void Attach(HWND owner, const RECT& bounds, Describer describer);
    // The label has no window, and the window answers the pointer there
    // as a caption: its non-client moves are handed on as client moves.
    void PointerMoved(UINT message, LPARAM lParam);
    void SetBounds(const RECT& bounds);
    // The owner's WM_NOTIFY; true when it was the tooltip's.
    bool Notified(const NMHDR& header);

private:
    void Make();

    HWND owner_ = nullptr, tip_ = nullptr;
    RECT bounds_ = {};
    bool tried_ = false;
    Describer describer_;
    std::wstring text_;  // the shown text, alive while the tooltip reads it
};

}  // namespace kvorn
