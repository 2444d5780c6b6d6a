#include "form_model.h"

#include <algorithm>
#include <cstdlib>

#include "described_window.h"
#include "error_box_text.h"
#include "form_description.h"
#include "ship_types.h"
#include "text.h"

namespace kvorn::test {

namespace {

constexpr Control Edits[] = {Control::Edit1, Control::Edit2, Control::Edit3, Control::Edit4,
                             Control::Edit5, Control::Edit6, Control::Edit7};

const char* NameOf(Control control) { return Describe(control).Name.data(); }

}  // namespace

std::string ToUtf8(const std::u16string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        out += EncodeUtf8(c);
    }
    return out;
}

std::u16string ToUtf16(std::string_view text)
{
    std::u16string out;
    while (!text.empty()) {
        std::size_t length = 0;
        char32_t c = DecodeUtf8(text, length);
        text.remove_prefix(length);
        if (c >= 0x10000) {
            c -= 0x10000;
            out += char16_t(0xD800 + (c >> 10));
            out += char16_t(0xDC00 + (c & 0x3FF));
        } else {
            out += char16_t(c);
        }
    }
    return out;
}

FormModel::FormModel(Platform platform) : platform_(platform), form_(*this)
{
    form_.SetSeparator(U',');
    for (std::size_t i = 0; i < edits_.size(); ++i)
        edits_[i].maxLength = DescribedControlOf(Edits[i]).MaxLength;  // the described limits, not the form's own
    for (Control c : {Control::ComboBox1, Control::ComboBox2}) {
        Selector& s = selectors_[c == Control::ComboBox2];
        for (std::string_view item : ListItems(c))
            s.items.emplace_back(item);
        s.edit.text = ToUtf16(Describe(c).Text);
        s.edit.caret = s.edit.anchor = int(s.edit.text.size());
    }
    if (platform_.SelectorSelectsItsText)  // the first focus is the ship selector's
        EditOf(focus_).anchor = 0;
}

bool FormModel::IsEdit(Control c) { return c >= Control::Edit1 && c <= Control::Edit7; }
bool FormModel::IsSelector(Control c) { return c == Control::ComboBox1 || c == Control::ComboBox2; }

FormModel::Edit& FormModel::EditOf(Control c)
{
    return const_cast<Edit&>(static_cast<const FormModel*>(this)->EditOf(c));
}

const FormModel::Edit& FormModel::EditOf(Control c) const
{
    if (IsSelector(c))
        return selectors_[c == Control::ComboBox2].edit;
    return edits_[std::size_t(int(c) - int(Control::Edit1))];
}

std::string FormModel::Text(Control c) const
{
    if (c == Control::Label1)
        return result_;
    if (HasText(c))
        return ToUtf8(EditOf(c).text);
    return {};
}

void FormModel::SetText(Control c, std::string_view text)
{
    if (c == Control::Label1) {
        result_ = text;
        return;
    }
    if (!HasText(c))
        return;
    Edit& e = EditOf(c);
    const std::u16string value = ToUtf16(text).substr(0, std::size_t(e.maxLength));
    const bool changed = value != e.text;
    e.text = value;
    e.caret = e.anchor = platform_.ProgramTextPutsTheCaretFirst ? 0 : int(value.size());
    if (!IsSelector(c)) {
        if (changed)
            Changed(c);  // an edit reports every change of its text; a selector only the user's
        return;
    }
    // A listed text selects its item (Windows then selects the text where the
    // box has the focus, and puts the caret before any other).
    Selector& s = selectors_[c == Control::ComboBox2];
    s.current = int(std::find(s.items.begin(), s.items.end(), text) - s.items.begin());
    if (s.current == int(s.items.size()))
        s.current = -1;
    if (platform_.SelectorSelectsItsText) {
        e.anchor = 0;
        e.caret = s.current >= 0 && focus_ == c ? int(value.size()) : 0;
    }
}

void FormModel::Focus(Control c) { MoveFocus(c, Reason::Program); }

void FormModel::ShowMessage(std::string_view text)
{
    boxes_.push_back({std::string(ApplicationTitle), std::string(text), BoxIcon::None, "OK"});
}

void FormModel::ShowError(std::string_view message)
{
    boxes_.push_back({std::string(ApplicationTitle), ErrorBoxText(message), BoxIcon::Stop, "OK"});
}

void FormModel::Changed(Control c) { form_.Changed(c); }

void FormModel::MoveFocus(Control to, Reason reason)
{
    if (to != focus_ && HasText(focus_)) {
        Edit& left = EditOf(focus_);
        left.anchor = left.caret;  // an edit left within the window keeps no selection
    }
    const bool entered = to != focus_;
    focus_ = to;
    if (!HasText(to) || !entered)
        return;
    Edit& e = EditOf(to);
    // Entered from the keyboard an edit selects its whole text, so that
    // typing replaces it; so does an edit clicked with another button than
    // the left. A selector's text part selects all on Tab only, on Windows
    // whenever the user enters it.
    const bool selectAll = reason == Reason::Tab || (IsEdit(to) && reason == Reason::OtherClick) ||
                           (IsSelector(to) && platform_.SelectorSelectsItsText && reason != Reason::Program);
    if (selectAll) {
        e.anchor = 0;
        e.caret = int(e.text.size());
    }
}

void FormModel::Insert(Control c, const std::u16string& text)
{
    Edit& e = EditOf(c);
    const int from = std::min(e.caret, e.anchor), to = std::max(e.caret, e.anchor);
    bool changed = from != to;
    e.text.erase(std::size_t(from), std::size_t(to - from));
    const std::size_t room = std::size_t(e.maxLength) - std::min(e.text.size(), std::size_t(e.maxLength));
    const std::u16string kept = text.substr(0, room);
    e.text.insert(std::size_t(from), kept);
    e.caret = e.anchor = from + int(kept.size());
    changed = changed || !kept.empty();
    if (changed)
        Changed(c);
}

void FormModel::Erase(Control c, bool forward)
{
    Edit& e = EditOf(c);
    if (e.caret == e.anchor) {
        if (forward && e.caret < int(e.text.size()))
            e.anchor = e.caret + 1;
        else if (!forward && e.caret > 0)
            e.anchor = e.caret - 1;
        else
            return;
    }
    Insert(c, u"");
}

void FormModel::CaretKey(Control c, StepKind kind, bool shift)
{
    Edit& e = EditOf(c);
    const int length = int(e.text.size());
    const bool selected = e.caret != e.anchor && !platform_.ArrowsMoveFromTheCaret;
    switch (kind) {
    case StepKind::Left:
        e.caret = selected && !shift ? std::min(e.caret, e.anchor) : std::max(0, e.caret - 1);
        break;
    case StepKind::Right:
        e.caret = selected && !shift ? std::max(e.caret, e.anchor) : std::min(length, e.caret + 1);
        break;
    case StepKind::Home: e.caret = 0; break;
    case StepKind::End: e.caret = length; break;
    default: return;
    }
    if (!shift)
        e.anchor = e.caret;
}

void FormModel::PickItem(Control c, int item, bool always)
{
    Selector& s = selectors_[c == Control::ComboBox2];
    if (item < 0 || item >= int(s.items.size()) || (item == s.current && !always))
        return;
    const bool again = item == s.current;
    s.current = item;
    // Qt leaves a text another item does not change as it was, its selection
    // too; its own item picked again puts the text in anew, the caret at its end.
    const std::u16string text = ToUtf16(s.items[std::size_t(item)]);
    if (text != s.edit.text || again || platform_.SelectorSelectsItsText) {
        s.edit.text = text;
        s.edit.caret = s.edit.anchor = int(text.size());
    }
    if (platform_.SelectorSelectsItsText && focus_ == c)
        s.edit.anchor = 0;
    Changed(c);
}

void FormModel::Apply(const Step& step)
{
    boxes_.clear();
    tip_.reset();
    menu_.reset();
    const Control f = focus_;
    if (!active_ && step.Kind != StepKind::SwitchBack && step.Kind != StepKind::Wheel &&
        step.Kind != StepKind::RestOnResult && step.Kind != StepKind::Regional)
        return;  // keys go to the other window; the generator sends no clicks
    switch (step.Kind) {
    case StepKind::Type: {
        if (f == Control::BitBtn1 || f == Control::BitBtn2) {
            if (step.Character == U' ' || step.Character == U'\r')
                form_.Clicked(f);
            return;
        }
        if (!HasText(f))
            return;
        const char32_t kept = form_.KeyPressed(f, step.Character);
        if (kept == 0)
            return;
        if (kept == 8)
            Erase(f, false);
        else if (kept >= 0x20)
            Insert(f, ToUtf16(EncodeUtf8(kept)));
        return;
    }
    case StepKind::Tab: {
        const auto& stops = DescribedTabOrder;  // the described order, not the form's own
        const auto at = std::find(stops.begin(), stops.end(), f);
        const int n = int(stops.size()), i = int(at - stops.begin());
        MoveFocus(stops[std::size_t((i + (step.Shift ? n - 1 : 1)) % n)], Reason::Tab);
        return;
    }
    case StepKind::Delete:
        if (HasText(f))
            Erase(f, true);
        return;
    case StepKind::Left:
    case StepKind::Right:
    case StepKind::Home:
    case StepKind::End:
        if (HasText(f))
            CaretKey(f, step.Kind, step.Shift);
        return;
    case StepKind::ListKey:
    case StepKind::Wheel: {
        const Control c = step.Kind == StepKind::ListKey ? f : step.Target;
        if (!IsSelector(c) || c != f || !active_ || (std::abs(step.Item) > 1 && !platform_.ControlArrowsStepTheList))
            return;  // the wheel turns only the focused selector
        const int current = selectors_[c == Control::ComboBox2].current;
        const int notches = step.Kind == StepKind::ListKey ? step.Item : -step.Item;
        PickItem(c, current + (notches > 0 ? 1 : -1), false);
        return;
    }
    case StepKind::MousePick: {
        MoveFocus(step.Target, Reason::LeftClick);
        if (step.Item >= 0 || !platform_.EscapeKeepsTheListsText)
            return PickItem(step.Target, step.Item, true);
        Selector& s = selectors_[step.Target == Control::ComboBox2];
        const int picked = s.current;  // no item is picked: the arrow keys go on from the last one
        if (step.Item < -1 && ToUtf16(s.items[std::size_t(-2 - step.Item)]) != s.edit.text)
            PickItem(step.Target, -2 - step.Item, true);
        s.current = picked;
        if (platform_.SelectorSelectsItsText)  // as the list closes, its text selected whole
            s.edit.anchor = 0, s.edit.caret = int(s.edit.text.size());
        return;
    }
    case StepKind::Paste:
        if (HasText(f) && !step.Clipboard.empty())
            Insert(f, ToUtf16(step.Clipboard));
        else if (HasText(f) && EditOf(f).caret != EditOf(f).anchor)
            Insert(f, u"");
        return;
    case StepKind::LeftClick: {
        MoveFocus(step.Target, Reason::LeftClick);
        Edit& e = EditOf(step.Target);
        e.caret = std::min(step.Item, int(e.text.size()));
        if (!step.Shift)  // Shift+click extends the selection from where it began
            e.anchor = e.caret;
        return;
    }
    case StepKind::MiddleClick: {
        if (!platform_.MiddleClickPastesPrimary)
            return;  // on Windows an edit takes no focus from the middle button either
        MoveFocus(step.Target, Reason::OtherClick);
        Edit& e = EditOf(step.Target);
        e.caret = e.anchor = std::min(step.Item, int(e.text.size()));
        if (!step.Clipboard.empty())
            Insert(step.Target, ToUtf16(step.Clipboard));
        return;
    }
    case StepKind::ContextMenu:
        if (step.Item >= 0)
            MoveFocus(step.Target, Reason::OtherClick);
        return;
    case StepKind::SwitchAway:
        active_ = false;
        return;
    case StepKind::Regional:  // read on the next keystroke; the result stays till then
        form_.SetSeparator(form_.Separator() == U',' ? U'.' : U',');
        return;
    case StepKind::SwitchBack:
        active_ = true;
        return;
    case StepKind::Clear:
        MoveFocus(Control::BitBtn1, Reason::LeftClick);
        if (step.Item == 0)
            form_.Clicked(Control::BitBtn1);
        return;
    case StepKind::RestOnResult:
        tip_ = form_.ResultDescription();
        return;
    case StepKind::WindowMenu:
    case StepKind::MenuKey:
        clipboard_ = step.Clipboard;
        if (step.Kind == StepKind::MenuKey) {  // on a button, the window's
            menu_ = f == Control::BitBtn1 || f == Control::BitBtn2 ? Offered() + " " + clipboard_ : "its own";
            return;
        }
        menu_ = Offered();
        if (step.Item >= 0)
            form_.Run(WindowMenuItems[std::size_t(step.Item)].Command);
        *menu_ += " " + clipboard_;
        return;
    }
}

std::string FormModel::Offered() const
{
    std::string offered;
    for (int item = 0; item < int(WindowMenuItems.size()); ++item)
        offered += Offers(item) ? "+" : "-";
    return offered;
}

Expected FormModel::State() const
{
    Expected s;
    for (std::size_t i = 0; i < edits_.size(); ++i) {
        const Edit& e = edits_[i];
        const bool shown = active_ && focus_ == Edits[i];
        s.Edits[i] = {ToUtf8(e.text), e.caret, shown ? e.anchor : e.caret};
    }
    s.Ship = ToUtf8(selectors_[0].edit.text);
    s.Caliber = ToUtf8(selectors_[1].edit.text);
    s.Focus = focus_;
    s.Active = active_;
    s.Result = result_;
    s.Boxes = boxes_;
    s.Tip = tip_;
    s.Menu = menu_;
    return s;
}

// Characters that are neither figures nor marks nor control keys.
constexpr char32_t Others[] = {U'-', U'+', U' ', U'e', U'E', U'a', U'/', U'М', U'ж', U'٣'};

// Characters of every kind a keyboard types: digits most, the separators,
// other printable ones (Cyrillic too) and the control characters of
// Backspace, Enter, Escape and the editing shortcuts.
char32_t StepGenerator::Character()
{
    static constexpr char32_t Controls[] = {8, 8, 8, 13, 27, 1, 3, 22, 24, 26};
    const int kind = Below(24);
    if (kind < 14)
        return U'0' + char32_t(Below(10));
    if (kind < 16)
        return U'.';
    if (kind < 18)
        return U',';
    if (kind < 20)
        return Others[Below(int(std::size(Others)))];
    return Controls[Below(int(std::size(Controls)))];
}

std::string StepGenerator::ClipboardText()
{
    // Mostly figures; then near misses, words, texts too long for a field,
    // scores too long for the label, and hostile ones: bidirectional marks,
    // a paste of many thousand characters. (No combining accents: the
    // toolkits step the caret over them each their own way.)
    static const char* const Figures[] = {"12", "7", "3000", "0", "24", "42", "1,5", ",", "123456", "1e20", "1e37", ""};
    static const char* const Texts[] = {".",      "1.5",      "-3",    " 7 ",  "1e3",  "9e999",
                                        "Фрегат", "Шлюп",     "фрегат", "abc", "1e99", "\u202E١٢,٣\u202C"};
    if (Below(3) != 0)
        return Figures[Below(int(std::size(Figures)))];
    if (Below(20) == 0)
        return std::string(20000, '7');
    return Texts[Below(int(std::size(Texts)))];
}

// A row as spreadsheets copy it: a type, seven figures and a caliber, now
// and then a figure of any kind.
std::string StepGenerator::ShipRowText()
{
    static const char* const Figures[] = {"12", "7", "3000", "24", "1,5", "\"0,5\"", "14.5", "100"};
    const std::vector<std::string_view> ships = ListItems(Control::ComboBox1), calibers = ListItems(Control::ComboBox2);
    const char separator = Below(2) ? '\t' : ';';
    std::string row(ships[std::size_t(Below(int(ships.size())))]);
    for (int i = 0; i < 7; ++i)
        row += separator + (Below(12) ? std::string(Figures[Below(int(std::size(Figures)))]) : ClipboardText());
    return row + separator + std::string(calibers[std::size_t(Below(int(calibers.size())))]);
}

// A step with `clipboard` on the clipboard (or the primary selection).
static Step WithClipboard(StepKind kind, Control at, int item, std::string clipboard)
{
    Step s = ControlStep(kind, at, item);
    s.Clipboard = std::move(clipboard);
    return s;
}

std::vector<Step> SeldomSteps()
{
    // A type pasted as the window first shows, over the placeholder, which
    // has the focus; then every figure and a caliber but no type: the
    // message, for each pick.
    std::vector<Step> steps = Entering(Frigate);
    steps.erase(steps.begin() + 1, steps.begin() + 2);
    steps.insert(steps.begin(), PasteStep("Бриг"));
    steps.push_back(ControlStep(StepKind::ListKey, Control::ComboBox2, 1));
    for (const WorkedShip& ship : WorkedShips) {
        const std::vector<Step> entering = Entering(ship);
        steps.insert(steps.end(), entering.begin(), entering.end());
        steps.push_back(KeyStep(StepKind::RestOnResult));
        if (ship.Caliber == "16")  // "6" weighs as 42
            steps.insert(steps.end(), {ControlStep(StepKind::LeftClick, Control::ComboBox2), KeyStep(StepKind::Delete)});
    }
    // The lists stepped by the wheel both ways from the middle, by the keys
    // past the end and back, with the wheel over the other one, and from no
    // item after Clear.
    steps.insert(steps.end(), {
        ControlStep(StepKind::MousePick, Control::ComboBox1, 11), ControlStep(StepKind::Wheel, Control::ComboBox1, 1),
        ControlStep(StepKind::Wheel, Control::ComboBox1, -1), ControlStep(StepKind::Wheel, Control::ComboBox1, -1),
        ControlStep(StepKind::MousePick, Control::ComboBox2, 4), ControlStep(StepKind::ListKey, Control::ComboBox2, 1),
        ControlStep(StepKind::Wheel, Control::ComboBox2, -1), ControlStep(StepKind::ListKey, Control::ComboBox2, -1),
        ControlStep(StepKind::Wheel, Control::ComboBox1, 1), KeyStep(StepKind::Clear),
        ControlStep(StepKind::ListKey, Control::ComboBox1, -1), ControlStep(StepKind::ListKey, Control::ComboBox1, 1)});
    steps.insert(steps.end(), {
        // The window's menu: nothing offered on an empty form; a sheet's row
        // pasted, copied back and its result copied; a bad row refused.
        WithClipboard(StepKind::WindowMenu, Control::Label1, -1, ""),
        WithClipboard(StepKind::WindowMenu, Control::Image1, 2,
                      "ship;hull;speed;manoeuvrability;close-hauled;hold;crew1;crew2;caliber;score\r\n"
                      "Фрегат;3000;\"14.5\";35;\"0,5\";2000;100;400;24;122,05\r\n"),
        WithClipboard(StepKind::WindowMenu, Control::Label1, 1, ""),
        WithClipboard(StepKind::WindowMenu, Control::Label1, 0, ""),
        WithClipboard(StepKind::WindowMenu, Control::Label1, 2, "Корвет\t3000\t14,5\t35\t0,5\t2000\t1000\t400\t24"),
        ControlStep(StepKind::ListKey, Control::ComboBox1, 1),  // on from the pasted type
        // From the keys: on a button the window's menu, in a field its own.
        // Clear's focus mark gone while another program is active.
        ControlStep(StepKind::LeftClick, Control::ComboBox2), KeyStep(StepKind::Tab), KeyStep(StepKind::MenuKey),
        KeyStep(StepKind::SwitchAway), KeyStep(StepKind::SwitchBack),
        KeyStep(StepKind::Tab), KeyStep(StepKind::MenuKey, true), ControlStep(StepKind::LeftClick, Control::Edit1),
        KeyStep(StepKind::MenuKey, true), ControlStep(StepKind::LeftClick, Control::Edit3), KeyStep(StepKind::MenuKey),
        ControlStep(StepKind::LeftClick, Control::ComboBox2), KeyStep(StepKind::MenuKey, true),
        ControlStep(StepKind::ContextMenu, Control::ComboBox2, -1),
        KeyStep(StepKind::Tab), TypedStep(U' '),  // Space on Clear
        ControlStep(StepKind::LeftClick, Control::ComboBox1), KeyStep(StepKind::MenuKey, true),
        ControlStep(StepKind::LeftClick, Control::Edit1), KeyStep(StepKind::End, true), TypedStep(U'4'),
        TypedStep(U'5'), TypedStep(U'6'), ControlStep(StepKind::LeftClick, Control::Edit1, PastTheEnd),
        KeyStep(StepKind::Left), ControlStep(StepKind::ContextMenu, Control::Edit1), KeyStep(StepKind::Left, true),
        KeyStep(StepKind::Left, true), KeyStep(StepKind::SwitchAway), KeyStep(StepKind::SwitchBack),
        ControlStep(StepKind::LeftClick, Control::Edit1, PastTheEnd, true), TypedStep(U'7'),  // Shift held
        ControlStep(StepKind::Clear, Control::BitBtn1, 1),
        ControlStep(StepKind::LeftClick, Control::Edit1, 0, true),  // from the caret it left, none selected on the way
        // Escape in a field, a selector, an open list and on each button;
        // Enter on Clear.
        ControlStep(StepKind::LeftClick, Control::Edit1), TypedStep(27), ControlStep(StepKind::LeftClick, Control::ComboBox1),
        TypedStep(27), ControlStep(StepKind::MousePick, Control::ComboBox2, -1), KeyStep(StepKind::Tab), TypedStep(27),
        KeyStep(StepKind::Tab), TypedStep(27), KeyStep(StepKind::Tab, true), TypedStep(13),
        WithClipboard(StepKind::MiddleClick, Control::Edit2, PastTheEnd, "7"),
        // Every figure and a caliber (the last, by the key, which goes no
        // further), but no type: the message.
        ControlStep(StepKind::MousePick, Control::ComboBox2, 3), ControlStep(StepKind::ListKey, Control::ComboBox2, 1),
        ControlStep(StepKind::ListKey, Control::ComboBox2, 1), KeyStep(StepKind::Tab, true), TypedStep(U'1'),
        KeyStep(StepKind::Tab, true), TypedStep(U'2'), KeyStep(StepKind::Tab, true), TypedStep(U'3'),
        KeyStep(StepKind::Tab, true), TypedStep(U'4'), KeyStep(StepKind::Tab, true), TypedStep(U'5'),
        KeyStep(StepKind::Tab, true), TypedStep(U'6'), KeyStep(StepKind::Tab, true), TypedStep(U'7'),
        PasteStep("1234"), PasteStep("5"),  // again; then nothing, the field being full
        // After Clear the type's text is not selected, and the list steps on
        // from no item; a listed text pasted, left and entered again, from
        // its item still, not the text's. Each step selects its text, which
        // Delete then takes away whole.
        KeyStep(StepKind::Clear), KeyStep(StepKind::Delete), ControlStep(StepKind::LeftClick, Control::ComboBox2),
        ControlStep(StepKind::ListKey, Control::ComboBox2, 1), KeyStep(StepKind::End), KeyStep(StepKind::Home, true),
        PasteStep("16"), KeyStep(StepKind::Tab), KeyStep(StepKind::Tab, true),
        ControlStep(StepKind::ListKey, Control::ComboBox2, 1), KeyStep(StepKind::Delete),
        ControlStep(StepKind::Wheel, Control::ComboBox2, -1), KeyStep(StepKind::Delete)});
    for (Control field : {Control::Edit6, Control::Edit3}) {  // each rarer character, whole and decimal, after a point
        steps.push_back(ControlStep(StepKind::LeftClick, field, PastTheEnd));
        steps.push_back(TypedStep(U'.'));
        for (char32_t c : Others)
            steps.push_back(TypedStep(c));
    }
    steps.insert(steps.end(), {
        // A selector entered by Shift+Tab, its text pasted over.
        ControlStep(StepKind::LeftClick, Control::Edit1), KeyStep(StepKind::Tab, true), PasteStep("Фрегат"),
        // Each selector given a text longer than it shows.
        ControlStep(StepKind::LeftClick, Control::ComboBox1), KeyStep(StepKind::End, true),
        PasteStep("Линейный корабль 1 ранга, флагман эскадры"), ControlStep(StepKind::LeftClick, Control::ComboBox2),
        KeyStep(StepKind::End, true), PasteStep("12345678901234567890123456789012"),
        // A caliber begun and Ctrl+Down, which a completer would finish.
        KeyStep(StepKind::Home, true), PasteStep("4"), ControlStep(StepKind::ListKey, Control::ComboBox2, 2),
        // Rated with every field pasted past its rule to its maximum length,
        // then hulls whose scores take each of the fitting rule's steps (1e13's
        // a few pixels inside the band in the Linux stand-in's full face), and
        // one that does not convert and reads as markup: the error box.
        ControlStep(StepKind::MousePick, Control::ComboBox1, 3), ControlStep(StepKind::MousePick, Control::ComboBox2, 2)});
    const char* const hulls[] = {"1e6", "1e9", "1e12", "1e13", "1e15", "1e20", "1e37", "<b>1"};
    for (int i = 0; i < 7 + int(std::size(hulls)); ++i) {
        steps.push_back(ControlStep(StepKind::LeftClick, Edits[i < 7 ? i : 0]));
        steps.push_back(KeyStep(StepKind::End, true));
        steps.push_back(PasteStep(i < 7 ? "123456789" : hulls[i - 7]));
        if (i < 7)  // full: Backspace takes one away, a digit fills it again
            steps.insert(steps.end(), {TypedStep(8), TypedStep(U'9')});
    }
    // The last hull typed on past the field's width, then a short one over
    // it; the result rested on, also with another program active; the
    // caliber's list closed with Escape after Down; a field with a figure
    // entered by a right click.
    steps.insert(steps.end(), {TypedStep(U'4'), ControlStep(StepKind::ContextMenu, Control::Edit1), TypedStep(U'3'),
                               KeyStep(StepKind::RestOnResult), KeyStep(StepKind::SwitchAway),
                               KeyStep(StepKind::RestOnResult), KeyStep(StepKind::SwitchBack),
                               ControlStep(StepKind::MousePick, Control::ComboBox2, -2),
                               ControlStep(StepKind::ContextMenu, Control::Edit2)});
    // A type whose name begins one listed before it, and a type's name in
    // small letters: each list opens on its text's own item, and Escape
    // leaves the text as it was.
    const std::vector<std::string_view> ships = ListItems(Control::ComboBox1);
    const int brig = int(std::find(ships.begin(), ships.end(), "Бриг") - ships.begin());
    steps.insert(steps.end(), {ControlStep(StepKind::MousePick, Control::ComboBox1, brig),
                               ControlStep(StepKind::MousePick, Control::ComboBox1, -1),
                               ControlStep(StepKind::LeftClick, Control::ComboBox1), KeyStep(StepKind::End, true),
                               PasteStep("фрегат"), ControlStep(StepKind::MousePick, Control::ComboBox1, -1),
                               TypedStep(22),  // Ctrl+V: no character a rule lets in
                               // The decimal mark changed under a figure that has the old one, then a ship typed with it.
                               KeyStep(StepKind::Regional), ControlStep(StepKind::LeftClick, Control::Edit3, PastTheEnd),
                               TypedStep(U'1')});
    const std::vector<Step> frigate = Entering(Frigate);
    steps.insert(steps.end(), frigate.begin(), frigate.end());
    return steps;
}

std::vector<Step> Entering(const WorkedShip& ship)
{
    const auto indexOf = [](Control selector, std::string_view item) {
        const auto items = ListItems(selector);
        return int(std::find(items.begin(), items.end(), item) - items.begin());
    };
    std::vector<Step> steps = {KeyStep(StepKind::Clear),
                               ControlStep(StepKind::MousePick, Control::ComboBox1, indexOf(Control::ComboBox1, ship.Type))};
    for (std::size_t i = 0; i < ship.Figures.size(); ++i) {
        steps.push_back(ControlStep(StepKind::LeftClick, Edits[i], PastTheEnd));
        for (char32_t c : ToUtf16(ship.Figures[i]))
            steps.push_back(TypedStep(c));
    }
    steps.push_back(ControlStep(StepKind::MousePick, Control::ComboBox2, indexOf(Control::ComboBox2, ship.Caliber)));
    return steps;
}

std::vector<Step> ReferenceSteps(std::string_view state)
{
    if (state == "frigate")
        return Entering(Frigate);
    if (state != "long")
        return {KeyStep(StepKind::Clear)};
    std::vector<Step> steps = Entering({"Фрегат", {"", "1", "1", "1", "1", "1", "1"}, "12", ""});
    steps.push_back(ControlStep(StepKind::LeftClick, Control::Edit1, PastTheEnd));
    steps.push_back(PasteStep("1e20"));
    return steps;
}

Step StepGenerator::Next(const FormModel& model)
{
    Step s;
    if (!pending_.empty()) {
        const Step next = pending_.front();
        pending_.erase(pending_.begin());
        return next;
    }
    if (model.Active() && Below(40) == 0) {
        // A whole ship filled in as users do: each field entered with Tab
        // (its old text selected, so replaced), a figure typed, a caliber
        // and sometimes a type picked from the lists.
        pending_.push_back(ControlStep(StepKind::LeftClick, Control::ComboBox1));
        for (int i = 0; i < 7; ++i) {
            pending_.push_back(KeyStep(StepKind::Tab));
            if (i == 0 && Below(2) == 0) {  // a hull whose score is too long for the label's face
                pending_.push_back(PasteStep(Below(2) ? "1e20" : "1e37"));
                continue;
            }
            for (int digits = 1 + Below(3); digits > 0; --digits)
                pending_.push_back(TypedStep(U'1' + char32_t(Below(9))));
        }
        pending_.push_back(ControlStep(StepKind::MousePick, Control::ComboBox2, Below(5)));
        if (Below(2))
            pending_.push_back(ControlStep(StepKind::MousePick, Control::ComboBox1, Below(int(ShipTypeTable.size()))));
        return Next(model);
    }
    if (model.Active() && Below(60) == 0) {
        // A ship type pasted over the selector's text in small letters, and
        // the selector left: the text stays as the user left it.
        pending_ = {ControlStep(StepKind::LeftClick, Control::Edit1), KeyStep(StepKind::Tab, true),
                    PasteStep(Below(2) ? "фрегат" : "шлюп"), KeyStep(StepKind::Tab)};
        return Next(model);
    }
    // A result shown is worth resting on, also while another program is
    // active (the window is kept above a game); a selection worth leaving
    // the window with.
    if (!model.Result().empty() && Below(model.Active() ? 25 : 6) == 0)
        return KeyStep(StepKind::RestOnResult);
    if (model.Active() && model.ShowsSelection() && Below(8) == 0)
        return KeyStep(StepKind::SwitchAway);
    if (Below(200) == 0)  // also while the user is elsewhere
        return KeyStep(StepKind::Regional);
    const auto field = [&] { return Edits[Below(7)]; };
    const auto selector = [&] { return Below(2) ? Control::ComboBox2 : Control::ComboBox1; };
    if (!model.Active()) {
        if (Below(4) == 0) {
            s.Kind = StepKind::Type;  // typed into the other window
            s.Character = Character();
        } else {
            s.Kind = StepKind::SwitchBack;
        }
        return s;
    }
    for (;;) {
        const int roll = Below(100);
        const Control f = model.Focused();
        const bool onSelector = f == Control::ComboBox1 || f == Control::ComboBox2;
        if (roll < 34) {
            s.Kind = StepKind::Type;
            s.Character = Character();
            if (f == Control::BitBtn2 && (s.Character == U' ' || s.Character == U'\r'))
                continue;  // that closes the program
        } else if (roll < 44) {
            s.Kind = StepKind::Tab;
            s.Shift = Below(3) == 0;
        } else if (roll < 48) {
            s.Kind = StepKind::Delete;
        } else if (roll < 56) {
            if (f == Control::BitBtn1 || f == Control::BitBtn2)
                continue;  // the toolkits move the focus with them there, each its own way
            constexpr StepKind keys[] = {StepKind::Left, StepKind::Right, StepKind::Home, StepKind::End};
            s.Kind = keys[Below(4)];
            s.Shift = Below(2) == 0;
        } else if (roll < 64) {
            if (!onSelector)
                continue;
            s.Kind = StepKind::ListKey;
            s.Item = (Below(3) == 0 ? -1 : 1) * (Below(5) == 0 ? 2 : 1);
        } else if (roll < 70) {
            s.Kind = StepKind::MousePick;
            s.Target = selector();
            s.Item = Below(s.Target == Control::ComboBox1 ? int(ShipTypeTable.size()) : 5);
            if (Below(6) == 0)
                s.Item = Below(2) ? -1 : -2;  // closed with Escape, Down pressed first or not
        } else if (roll < 74) {
            s.Kind = StepKind::Wheel;
            s.Target = selector();
            s.Item = Below(3) == 0 ? 1 : -1;
        } else if (roll < 79) {
            s.Kind = StepKind::Paste;
            s.Clipboard = ClipboardText();
        } else if (roll < 87) {
            s.Kind = StepKind::LeftClick;
            s.Target = Below(4) == 0 ? selector() : field();
            s.Item = Below(2) ? 0 : PastTheEnd;
            // Shift+click in the focused control only: one left keeps its
            // selection hidden on Windows, drops it in Qt.
            s.Shift = s.Target == f && Below(3) == 0;
        } else if (roll < 89) {
            s.Kind = StepKind::MiddleClick;
            s.Target = field();
            s.Item = PastTheEnd;
            s.Clipboard = ClipboardText();
        } else if (roll < 91) {
            s.Kind = StepKind::ContextMenu;
            s.Target = onSelector && Below(3) == 0 ? f : field();
            s.Item = s.Target == f && onSelector ? -1 : 0;
        } else if (roll < 93) {
            s.Kind = StepKind::SwitchAway;
        } else if (roll < 95) {
            s.Kind = StepKind::Clear;
        } else if (roll < 96) {
            s.Kind = StepKind::RestOnResult;
        } else if (roll < 97) {  // the window's menu, an item offered or none; or the focused control's
            s.Kind = Below(3) ? StepKind::WindowMenu : StepKind::MenuKey;
            s.Shift = Below(2) == 0;
            s.Target = Below(2) ? Control::Label1 : Control::Image1;
            s.Clipboard = Below(2) ? ShipRowText() : ClipboardText();
            s.Item = Below(4) - 1;
            if (s.Item >= 0 && (s.Item == 2 ? s.Clipboard.empty() : !model.Offers(s.Item)))
                s.Item = -1;
        } else {
            // Fields filled in as users do: a digit into an empty one, Tab
            // on from one that holds a figure.
            s.Kind = StepKind::Type;
            s.Character = U'1' + char32_t(Below(9));
            if (model.TextLength(f) > 0 && !onSelector)
                s.Kind = StepKind::Tab;
        }
        return s;
    }
}

std::string DescribeStep(const Step& s)
{
    static const char* const Kinds[] = {"type",         "Tab",        "Delete",      "Left",       "Right",
                                        "Home",         "End",        "list key",    "mouse pick", "wheel",
                                        "paste",        "left click", "middle click", "context menu", "switch away",
                                        "switch back",  "clear",      "rest on result", "window menu", "menu key", "regional change"};
    std::string out = Kinds[int(s.Kind)];
    if (s.Shift)
        out = "Shift+" + out;
    switch (s.Kind) {
    case StepKind::Type:
        out += s.Character < 0x20 ? " ^" + std::to_string(int(s.Character)) : " '" + EncodeUtf8(s.Character) + "'";
        break;
    case StepKind::MousePick:
    case StepKind::Wheel:
    case StepKind::LeftClick:
        out += std::string(" ") + NameOf(s.Target) + " " + std::to_string(s.Item);
        break;
    case StepKind::MiddleClick:
    case StepKind::ContextMenu:
        out += std::string(" ") + NameOf(s.Target) + (s.Item < 0 ? " drop button" : "");
        break;
    case StepKind::ListKey: out += " " + std::to_string(s.Item); break;
    case StepKind::WindowMenu: out += std::string(" ") + NameOf(s.Target) + " " + std::to_string(s.Item); break;
    case StepKind::Clear: out += s.Item ? " released off it" : ""; break;
    default: break;
    }
    if (s.Kind == StepKind::Paste || s.Kind == StepKind::MiddleClick || s.Kind == StepKind::WindowMenu ||
        s.Kind == StepKind::MenuKey)
        out += " \"" + s.Clipboard + "\"";
    return out;
}

std::string DescribeState(const Expected& e)
{
    std::string out;
    for (std::size_t i = 0; i < e.Edits.size(); ++i)
        out += std::string(NameOf(Edits[i])) + "='" + e.Edits[i].Text + "' " + std::to_string(e.Edits[i].Anchor) + ":" +
               std::to_string(e.Edits[i].Caret) + "  ";
    out += "ship='" + e.Ship + "' caliber='" + e.Caliber + "' focus=" + NameOf(e.Focus) +
           (e.Active ? " active" : " inactive") + " result='" + e.Result + "'";
    for (const Box& b : e.Boxes)
        out += " box[" + b.Caption + "|" + b.Text + "|" + (b.Icon == BoxIcon::Stop ? "stop" : b.Icon == BoxIcon::None ? "none" : "another icon") + "|" +
               b.Button + "]";
    if (e.Tip)
        out += " tip='" + *e.Tip + "'";
    if (e.Menu)
        out += " menu='" + *e.Menu + "'";
    return out;
}

}  // namespace kvorn::test
