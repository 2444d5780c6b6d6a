#pragma once
// What a user does to the calculator window, and what the window must then
// show, for the windows' differential tests. The texts, results and boxes
// come from the form's own TForm1 driven through a view of plain models of
// the controls; only the edit controls' own behaviour (caret, selection,
// maximum length, focus by Tab or click) is written here, with the
// described limits and tab order. No toolkit.

#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "form_view.h"
#include "tform1.h"
#include "window_menu_items.h"
#include "worked_ships.h"

namespace kvorn::test {

enum class StepKind {
    Type,          // Character typed into the focused control (8 is Backspace, 22 Ctrl+V, 13 Enter...)
    Tab,           // Shift: Shift+Tab
    Delete,        // the Delete key
    Left, Right, Home, End,  // caret keys, Shift held if asked
    ListKey,       // the focused selector's Down (Item 1) or Up (Item -1), list closed; Ctrl held for 2 and -2
    // Target's list opened by its arrow, item Item clicked; closed with Escape when -1, and when below it after
    // Down moved the highlight to item -2 - Item (its driver sets where, before Apply; -1 when it did not move)
    MousePick,
    Wheel,         // Item notches over Target's text part, negative towards the user
    Paste,         // Clipboard put on the clipboard, then Shift+Insert
    // into Target's text at caret position Item (past the end for one beyond it), Shift held if asked; a driver whose
    // click cannot reach that place (the text scrolled) sets Item to where it does, before Apply
    LeftClick,
    MiddleClick,   // into an edit at caret position Item, Clipboard being the primary selection
    ContextMenu,   // right click into an edit; its context menu opened, then closed with Escape
    // (Item -1: on the focused selector's drop button; never the window's menu)
    SwitchAway,    // another program's window activated
    SwitchBack,    // the calculator activated again, as the window manager does
    Clear,         // a left click on the clear button (Item 1: pressed, then released off it)
    RestOnResult,  // the pointer rests on the result until its tip shows, then leaves
    // the window's menu opened by a right click on Target (the picture or the result), with Clipboard
    // on the clipboard; item Item chosen, or none (-1: Escape)
    WindowMenu,
    MenuKey,  // the Menu key (Shift: Shift+F10) on the focused control, Clipboard on the clipboard; closed with Escape
    Regional,  // the regional settings' decimal mark changed, from the comma to the point or back
};

// A click's place in a text that is past its end, however long it is.
inline constexpr int PastTheEnd = 1000;

struct Step {
    StepKind Kind = StepKind::Type;
    Control Target = Control::Edit1;
    char32_t Character = 0;
    int Item = 0;
    bool Shift = false;
    std::string Clipboard;  // UTF-8
};

inline Step KeyStep(StepKind kind, bool shift = false) { Step s; s.Kind = kind; s.Shift = shift; return s; }
inline Step TypedStep(char32_t character) { Step s; s.Character = character; return s; }
inline Step ControlStep(StepKind kind, Control target, int item = 0, bool shift = false)
{
    Step s; s.Kind = kind; s.Target = target; s.Item = item; s.Shift = shift; return s;
}
inline Step PasteStep(std::string clipboard) { Step s; s.Kind = StepKind::Paste; s.Clipboard = std::move(clipboard); return s; }

// What a step sets off in the window's toolkit where the platforms
// legitimately differ.
struct Platform {
    bool MiddleClickPastesPrimary = true;  // X11 pastes the primary selection; Windows does nothing
    // A Windows combo box selects its text whenever the user enters it, and
    // the item's text after a pick, and puts the caret before a text the
    // program sets; Qt's selects on Tab only and puts the caret after it.
    bool SelectorSelectsItsText = false;
    // Left and Right move a Windows edit's caret itself, a selection or
    // none; Qt's leave a selection at its own end.
    bool ArrowsMoveFromTheCaret = false;
    // A text the program sets puts a Windows edit's caret before it, Qt's after it.
    bool ProgramTextPutsTheCaretFirst = false;
    // Ctrl+Up and Ctrl+Down step a Windows combo box as Up and Down do; Qt's
    // leave them to its text part, which does nothing with them.
    bool ControlArrowsStepTheList = false;
    // The item's text the arrow keys put in from a Windows open list stays
    // when Escape closes it, as if typed, and is selected whole; Qt's list
    // takes it back and leaves the selection.
    bool EscapeKeepsTheListsText = false;
};

enum class BoxIcon { None, Stop };

struct Box {
    std::string Caption, Text;  // UTF-8
    BoxIcon Icon = BoxIcon::None;
    std::string Button;
    bool operator==(const Box&) const = default;
};

// An edit's text, caret and the other end of its selection, in UTF-16 units
// (as both toolkits count); no selection when Anchor == Caret.
struct Field {
    std::string Text;
    int Caret = 0, Anchor = 0;
    bool operator==(const Field&) const = default;
};

struct Expected {
    std::array<Field, 7> Edits;  // Edit1 to Edit7; a selection shows only in the focused edit of the active window
    std::string Ship, Caliber;   // the selectors' texts
    Control Focus = Control::ComboBox1;  // the window's focused control, kept while another window is active
    bool Active = true;                  // the calculator is the active window
    std::string Result;                  // Label1
    std::vector<Box> Boxes;              // shown by the last step, each closed with its button
    std::optional<std::string> Tip;      // after RestOnResult: the tip's text, empty for none
    // After WindowMenu or MenuKey: the window's menu's "+" or "-" for each item
    // offered, then the clipboard; "its own" for a field's menu.
    std::optional<std::string> Menu;
};

class FormModel : private FormView {
public:
    explicit FormModel(Platform platform = {});
    FormModel(const FormModel&) = delete;
    FormModel& operator=(const FormModel&) = delete;

    void Apply(const Step& step);
    Expected State() const;

    Control Focused() const { return focus_; }
    const std::string& Result() const { return result_; }
    bool ShowsSelection() const { return HasText(focus_) && EditOf(focus_).caret != EditOf(focus_).anchor; }
    bool Active() const { return active_; }
    int TextLength(Control control) const { return HasText(control) ? int(EditOf(control).text.size()) : 0; }
    bool Offers(int item) const { return form_.Offers(WindowMenuItems[std::size_t(item)].Command); }

private:
    struct Edit {
        std::u16string text;
        int caret = 0, anchor = 0;
        int maxLength = 32767;
    };
    struct Selector {
        Edit edit;
        std::vector<std::string> items;
        int current = -1;
    };

    // FormView
    std::string Text(Control control) const override;
    void SetText(Control control, std::string_view text) override;
    void Focus(Control control) override;
    void ShowMessage(std::string_view text) override;
    void ShowError(std::string_view message) override;
    void Close() override {}
    std::string ClipboardText() const override { return clipboard_; }
    void SetClipboardText(std::string_view text) override { clipboard_ = text; }

    std::string Offered() const;  // "+" or "-" for each item of the window's menu
    static bool IsEdit(Control control);
    static bool IsSelector(Control control);
    Edit& EditOf(Control control);
    const Edit& EditOf(Control control) const;
    bool HasText(Control control) const { return IsEdit(control) || IsSelector(control); }

    enum class Reason { Tab, LeftClick, OtherClick, Program };
    void MoveFocus(Control to, Reason reason);
    // Replaces the selection with `text` cut to the maximum length; fires
    // the control's change when anything was removed or inserted.
    void Insert(Control control, const std::u16string& text);
    void Erase(Control control, bool forward);
    void CaretKey(Control control, StepKind kind, bool shift);
    void PickItem(Control selector, int item, bool always);
    void Changed(Control control);

    Platform platform_;
    TForm1 form_;
    std::array<Edit, 7> edits_;
    std::array<Selector, 2> selectors_;
    std::string result_;
    Control focus_ = Control::ComboBox1;
    bool active_ = true;
    std::vector<Box> boxes_;
    std::optional<std::string> tip_, menu_;
    std::string clipboard_;
};

// Seeded random user steps, each one a step a user can take in the state
// the model is in.
class StepGenerator {
public:
    // `first`: steps to take before the random ones.
    explicit StepGenerator(std::uint64_t seed, std::vector<Step> first = {}) : random_(seed), pending_(std::move(first)) {}
    Step Next(const FormModel& model);

private:
    int Below(int n) { return int(random_() % std::uint64_t(n)); }
    char32_t Character();
    std::string ClipboardText();
    std::string ShipRowText();
    std::mt19937_64 random_;
    std::vector<Step> pending_;
};

// What a random sequence seldom reaches: a type pasted at start; the worked
// ships, each rated and its tip shown; the lists stepped by keys and wheel
// past their ends; the window's menu pasting a sheet's row, copying it back
// and refusing a bad one; the menus from the keys and a right click on a
// selector's drop button; a field's menu over a caret within its text, a
// selection made leftwards taken out of the window and back, a press on
// Clear released off it, Space on it, the focus and Escape on each control,
// texts longer than a selector shows, every field full (and Backspace
// there), results of every length, with the tip of the last; the decimal
// mark changed, and a ship typed with the new one.
std::vector<Step> SeldomSteps();

// The steps that enter `ship` after a Clear: its type picked, each figure
// clicked into and typed, its caliber picked.
std::vector<Step> Entering(const WorkedShip& ship);
// The steps to the states the whole-window references show: "start",
// "frigate" (rated) and "long" (a hull pasted past its rule).
std::vector<Step> ReferenceSteps(std::string_view state);

std::string DescribeStep(const Step& step);
std::string DescribeState(const Expected& state);
std::string ToUtf8(const std::u16string& text);
std::u16string ToUtf16(std::string_view text);

}  // namespace kvorn::test
