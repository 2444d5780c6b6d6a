#include "tform1.h"

#include <exception>

#include "keystroke_filters.h"
#include "rating_error.h"
#include "score.h"
#include "text.h"

namespace kvorn {

namespace {

// The form's event wiring: which handler each control's events run.
struct Wiring {
    Control control;
    void (TForm1::*Change)();
    void (TForm1::*KeyPress)(Control, char32_t&);
    void (TForm1::*Click)();
};

constexpr Wiring WiringTable[] = {
    {Control::Edit1, &TForm1::Edit1Change, &TForm1::Edit1KeyPress, nullptr},
    {Control::Edit2, &TForm1::Edit2Change, &TForm1::Edit2KeyPress, nullptr},
    {Control::Edit3, &TForm1::Edit3Change, &TForm1::Edit3KeyPress, nullptr},
    {Control::Edit4, &TForm1::Edit4Change, &TForm1::Edit4KeyPress, nullptr},
    {Control::Edit5, &TForm1::Edit5Change, &TForm1::Edit5KeyPress, nullptr},
    {Control::Edit6, &TForm1::Edit6Change, &TForm1::Edit6KeyPress, nullptr},
    {Control::Edit7, &TForm1::Edit7Change, &TForm1::Edit7KeyPress, nullptr},
    {Control::ComboBox1, &TForm1::ComboBox1Change, &TForm1::ComboBox1KeyPress, nullptr},
    {Control::ComboBox2, &TForm1::ComboBox2Change, &TForm1::ComboBox2KeyPress, nullptr},
    {Control::BitBtn1, nullptr, nullptr, &TForm1::BitBtn1Click},
    {Control::BitBtn2, nullptr, nullptr, &TForm1::BitBtn2Click},
};

const Wiring* WiringOf(Control control)
{
    for (const Wiring& wiring : WiringTable)
        if (wiring.control == control)
            return &wiring;
    return nullptr;
}

}  // namespace

template <class Work>
void TForm1::Handle(Work&& work)
{
    try {
        work();
    } catch (const RatingError& error) {
        view_.ShowError(error.message());
    } catch (const std::exception& error) {
        view_.ShowError(error.what());
    } catch (...) {
        view_.ShowError("Unknown error");
    }
}

void TForm1::Changed(Control control)
{
    if (const Wiring* wiring = WiringOf(control); wiring && wiring->Change)
        Handle([&] { (this->*wiring->Change)(); });
}

void TForm1::Clicked(Control control)
{
    if (const Wiring* wiring = WiringOf(control); wiring && wiring->Click)
        Handle([&] { (this->*wiring->Click)(); });
}

char32_t TForm1::KeyPressed(Control control, char32_t key)
{
    const Wiring* wiring = WiringOf(control);
    if (!wiring || !wiring->KeyPress)
        return key;
    try {
        (this->*wiring->KeyPress)(control, key);
    } catch (...) {
        return 0;  // a rule that cannot judge lets nothing in
    }
    return key;
}

std::u32string TForm1::FilterTyped(Control control, std::u32string_view typed)
{
    std::u32string kept;
    pendingTyped_.clear();
    for (char32_t key : typed) {
        key = KeyPressed(control, key);
        if (key == 0)
            continue;
        kept += key;
        pendingTyped_ += EncodeUtf8(key);
    }
    pendingTyped_.clear();
    return kept;
}

void TForm1::SUMM()
{
    const std::string hull = view_.Text(Control::Edit1), hold = view_.Text(Control::Edit2),
                      speed = view_.Text(Control::Edit3), manoeuvrability = view_.Text(Control::Edit4),
                      closeHauled = view_.Text(Control::Edit5), crew1 = view_.Text(Control::Edit6),
                      crew2 = view_.Text(Control::Edit7), caliber = view_.Text(Control::ComboBox2);
    const ScoreInputs inputs = {hull, hold, speed, manoeuvrability, closeHauled, crew1, crew2, caliber};
    std::string ship = view_.Text(Control::ComboBox1);
    const ScoreResult result = ComputeScore(inputs, ship, ShipCoefficients_, separator_);
    switch (result.Outcome) {
    case ScoreOutcome::NothingToDo:
        return;
    case ScoreOutcome::NotSelected:
        view_.ShowMessage(result.Text);
        return;
    case ScoreOutcome::Score: {
        ShownResult shown{std::move(ship), result.Text, caliber, ShipCoefficients_.CannonCount, result.Shares};
        if (newShip_ && last_ && (last_->Ship != shown.Ship || last_->Score != shown.Score))
            previous_ = std::move(last_);
        newShip_ = false;
        last_ = std::move(shown);
        view_.SetText(Control::Label1, result.Text);
        return;
    }
    }
}

std::string TForm1::ResultDescription() const
{
    if (!last_ || view_.Text(Control::Label1) != last_->Score)
        return {};
    return DescribeResult(*last_, previous_ ? &*previous_ : nullptr);
}

void TForm1::Clear()
{
    newShip_ = true;
    for (Control edit : {Control::Edit1, Control::Edit2, Control::Edit3, Control::Edit4, Control::Edit5,
                         Control::Edit6, Control::Edit7})
        view_.SetText(edit, "");
    view_.SetText(Control::Label1, "");
    view_.SetText(Control::ComboBox1, PlaceholderText);
    view_.SetText(Control::ComboBox2, "");
    view_.Focus(Control::ComboBox1);
}

void TForm1::Edit1Change() { SUMM(); }
void TForm1::Edit2Change() { SUMM(); }
void TForm1::Edit3Change() { SUMM(); }
void TForm1::Edit4Change() { SUMM(); }
void TForm1::Edit5Change() { SUMM(); }
void TForm1::Edit6Change() { SUMM(); }
void TForm1::Edit7Change() { SUMM(); }
void TForm1::ComboBox2Change() { SUMM(); }

void TForm1::ComboBox1Change()
{
    SelectShipType(view_.Text(Control::ComboBox1), ShipCoefficients_);
    newShip_ = true;
    SUMM();
}

void TForm1::BitBtn1Click() { Clear(); }
void TForm1::BitBtn2Click() { view_.Close(); }

void TForm1::Edit1KeyPress(Control, char32_t& Key) { DigitFilter(Key); }
void TForm1::Edit2KeyPress(Control, char32_t& Key) { DigitFilter(Key); }
void TForm1::Edit3KeyPress(Control Sender, char32_t& Key) { DecimalKeyPress(Sender, Key); }
void TForm1::Edit4KeyPress(Control Sender, char32_t& Key) { DecimalKeyPress(Sender, Key); }
void TForm1::Edit5KeyPress(Control Sender, char32_t& Key) { DecimalKeyPress(Sender, Key); }
void TForm1::Edit6KeyPress(Control, char32_t& Key) { DigitFilter(Key); }
void TForm1::Edit7KeyPress(Control, char32_t& Key) { DigitFilter(Key); }
void TForm1::ComboBox1KeyPress(Control, char32_t& Key) { BlockAllFilter(Key); }
void TForm1::ComboBox2KeyPress(Control, char32_t& Key) { BlockAllFilter(Key); }

void TForm1::DecimalKeyPress(Control field, char32_t& Key)
{
    DecimalFilter(Key, view_.Text(field) + pendingTyped_, separator_);
}

}  // namespace kvorn
