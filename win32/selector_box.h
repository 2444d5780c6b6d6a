#pragma once
// A drop-down combo box with an editable text part, as the form has them:
// - a pick from the list is one change, reported once the box has finished
//   its own work (its text is then the picked item's), however the list's
//   notices are ordered;
// - an edit of the text by other means than typing is a change; the
//   program setting the text is not;
// - the arrow keys and the mouse wheel step from the item picked, the wheel
//   only while the box has the focus;
// - opening the list changes nothing: it opens on the text's own item;
// - its list items are drawn by it, each ListItemHeight high at the
//   display's scale.

#include <windows.h>

#include <functional>
#include <string>

#include "tform1.h"

namespace kvorn {

class SelectorBox {
public:
    // Posted to the owner with the box's id in wParam; the owner hands them
    // back to Posted().
    static constexpr UINT PickedMessage = WM_APP + 1;
    static constexpr UINT ClosedMessage = WM_APP + 2;
    static constexpr UINT DroppedMessage = WM_APP + 3;

    // Gives the box `id` of `form` its described text and reports its
    // changes to the form; its notices come through `owner`.
    void Attach(HWND box, HWND owner, TForm1& form, Control id);
    // Lists the box's items, once: a closed box shows none, so the window's
    // first frame need not wait for them.
    void Fill();
    // A notice from the box, as its owner's WM_COMMAND carries it.
    void Notified(WORD code);
    void Posted(UINT message);
    // Sets the text with no list item picked and no change reported.
    void SetText(const std::wstring& text);
    // Places the box's field at `field`, its open list below it, and its
    // face, at the display's scale.
    void Place(const RECT& field, HFONT font, int dpi);

    // What the owner's WM_MEASUREITEM and WM_DRAWITEM ask of a box's list.
    static UINT ItemHeight(int dpi);
    // The box's height with its open list, for its field at `field`.
    static int BoxHeight(const RECT& field, int dpi);
    static void DrawItem(const DRAWITEMSTRUCT& item, int dpi);

private:
    static LRESULT StepProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR data);
    void Step(int by);
    void Report();
    void SyncText();
    void KeepTextAtDrop();

    HWND box_ = nullptr, owner_ = nullptr;
    WPARAM id_ = 0;
    std::function<void()> changed_;
    bool filled_ = false;
    bool dropped_ = false;
    bool picked_ = false;        // an item was chosen before the list closed
    bool movedInList_ = false;   // its highlight moved, or its text was typed, while the list was open
    bool pickPending_ = false;   // a pick on the closed box is posted, not yet reported
    bool closePending_ = false;  // the list has closed, its pick not yet reported
    bool settingText_ = false;   // the program, not the user, changes the text
    LRESULT current_ = -1;       // the item picked last; none after the program's text
    std::wstring textAtDrop_;
};

}  // namespace kvorn
