#pragma once
// The calculator form's behaviour, written once for every window. Data flow:
// a window reports each change, keystroke and click of a control to the
// handler the wiring table names; the handlers run the ship-type selection,
// SUMM (the eight texts, the selector's text, ShipCoefficients and the
// regional separator through the rating core) or Clear, and write back
// through the FormView. A handler that fails is abandoned there and its
// error goes to the view's error box: nothing escapes into the toolkit.

#include <optional>
#include <string>
#include <string_view>

#include "form_view.h"
#include "ship_row.h"
#include "result_breakdown.h"
#include "ship_types.h"
#include "window_menu_items.h"

namespace kvorn {

class TForm1 {
public:
    explicit TForm1(FormView& view) : view_(view) {}

    const ShipCoefficients& Coefficients() const { return ShipCoefficients_; }
    char32_t Separator() const { return separator_; }
    // The regional separator, at start-up and on every notice of changed settings.
    void SetSeparator(char32_t separator) { separator_ = separator; }

    // What a window calls, by control: each runs the handler the wiring
    // table binds to that control's event, inside the failure boundary.
    void Changed(Control control);
    void Clicked(Control control);
    // Judges a typed character: returns it, rewritten, or 0 to discard it.
    char32_t KeyPressed(Control control, char32_t key);
    // Judges several characters typed at once (an input method, a key event
    // carrying more than one); each one against the text as it will be once
    // the characters kept before it are in. Returns what to insert.
    std::u32string FilterTyped(Control control, std::u32string_view typed);

    void SUMM();
    void Clear();

    // The breakdown of the result the label shows, built when asked for;
    // empty while it shows none.
    std::string ResultDescription() const;

    // The window's context menu: whether an item can be chosen now, and
    // what choosing it does.
    bool Offers(WindowCommand command) const;
    void Run(WindowCommand command);

    void Edit1Change();
    void Edit2Change();
    void Edit3Change();
    void Edit4Change();
    void Edit5Change();
    void Edit6Change();
    void Edit7Change();
    void ComboBox1Change();
    void ComboBox2Change();
    void BitBtn1Click();
    void BitBtn2Click();

    void Edit1KeyPress(Control Sender, char32_t& Key);
    void Edit2KeyPress(Control Sender, char32_t& Key);
    void Edit3KeyPress(Control Sender, char32_t& Key);
    void Edit4KeyPress(Control Sender, char32_t& Key);
    void Edit5KeyPress(Control Sender, char32_t& Key);
    void Edit6KeyPress(Control Sender, char32_t& Key);
    void Edit7KeyPress(Control Sender, char32_t& Key);
    void ComboBox1KeyPress(Control Sender, char32_t& Key);
    void ComboBox2KeyPress(Control Sender, char32_t& Key);

private:
    template <class Work>
    void Handle(Work&& work);
    void DecimalKeyPress(Control field, char32_t& Key);
    void StartShip();
    RowTexts RowOnScreen() const;
    bool RowDescribesResult() const;
    void PasteRow();
    std::string Typed(Control field, std::string_view figure, std::string& wrong);

    FormView& view_;
    ShipCoefficients ShipCoefficients_;
    char32_t separator_ = U'.';
    // The previous result is the last result of the last ship the user
    // rated before the one on screen. A ship starts with Clear or a pick of
    // its type, and is rated once a result follows a change of one of its
    // figures (typed, pasted, the caliber picked): a type only passed over
    // while walking the list with the keys or the wheel, or picked and left,
    // was looked at, not rated. Every keystroke shows a result, and only a
    // ship's last one is worth keeping.
    std::optional<ShownResult> last_;  // the result shown last, kept past a Clear
    std::optional<ShownResult> previous_;
    bool shipRated_ = false;
    bool picking_ = false;  // a type pick's recomputation is under way
    bool filling_ = false;  // a pasted row is going in: its changes compute nothing
    bool typingAside_ = false;  // a pasted figure is judged as if typed into an empty field
    std::string pendingTyped_;  // characters of one event kept so far, not yet in the field
};

}  // namespace kvorn
