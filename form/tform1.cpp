#include "tform1.h"

#include <algorithm>
#include <exception>

#include "form_description.h"
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
    if (filling_)
        return;
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
        last_ = ShownResult{std::move(ship), result.Text, caliber, ShipCoefficients_.CannonCount, result.Shares};
        shipRated_ = shipRated_ || !picking_;
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

void TForm1::StartShip()
{
    if (shipRated_ && last_)
        previous_ = last_;
    shipRated_ = false;
}

void TForm1::Clear()
{
    StartShip();
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
    StartShip();
    picking_ = true;
    try {
        SUMM();
    } catch (...) {
        picking_ = false;
        throw;
    }
    picking_ = false;
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
    DecimalFilter(Key, typingAside_ ? pendingTyped_ : view_.Text(field) + pendingTyped_, separator_);
}

// --- The window's context menu -----------------------------------------------

RowTexts TForm1::RowOnScreen() const
{
    RowTexts fields;
    for (std::size_t i = 0; i < RowFields.size(); ++i)
        fields[i] = view_.Text(RowFields[i]);
    return fields;
}

// The fields on screen give the result shown: not after a field was emptied
// or a recomputation failed, which leave the label as it was.
bool TForm1::RowDescribesResult() const
{
    const std::string shown = view_.Text(Control::Label1);
    const RowTexts row = RowOnScreen();
    const std::vector<std::string_view> ships = ListItems(Control::ComboBox1);
    if (shown.empty() || std::find(ships.begin(), ships.end(), row[0]) == ships.end())
        return false;
    try {
        const ScoreResult result = ComputeScore(FiguresOf(row), row[0], ShipCoefficients_, separator_);
        return result.Outcome == ScoreOutcome::Score && result.Text == shown;
    } catch (...) {
        return false;
    }
}

bool TForm1::Offers(WindowCommand command) const
{
    try {
        switch (command) {
        case WindowCommand::CopyResult: return !view_.Text(Control::Label1).empty();
        case WindowCommand::CopyRow: return RowDescribesResult();
        case WindowCommand::PasteRow: return !view_.ClipboardText().empty();
        }
    } catch (...) {
    }
    return false;
}

void TForm1::Run(WindowCommand command)
{
    Handle([&] {
        switch (command) {
        case WindowCommand::CopyResult:
            if (const std::string shown = view_.Text(Control::Label1); !shown.empty())
                view_.SetClipboardText(shown);
            return;
        case WindowCommand::CopyRow:
            if (RowDescribesResult())
                view_.SetClipboardText(WriteShipRow(RowOnScreen(), view_.Text(Control::Label1), separator_));
            return;
        case WindowCommand::PasteRow:
            PasteRow();
            return;
        }
    });
}

// `figure` typed into the empty `field`, character by character, through
// the field's own keystroke rule and maximum length: what the field would
// hold (a point or comma become its separator), or in `wrong` why typing
// could not have put it there.
std::string TForm1::Typed(Control field, std::string_view figure, std::string& wrong)
{
    const ControlDescription& described = Describe(field);
    const std::string name(described.AccessibleName);
    if (figure.empty()) {
        wrong = name + ": поле пусто.";
        return {};
    }
    const std::string quoted = "«" + std::string(figure) + "»";
    typingAside_ = true;
    pendingTyped_.clear();
    for (std::size_t at = 0; at < figure.size() && wrong.empty();) {
        std::size_t length = 0;
        const char32_t typed = DecodeUtf8(figure.substr(at), length);
        at += std::max<std::size_t>(length, 1);
        const char32_t kept = typed == Backspace ? 0 : KeyPressed(field, typed);
        if (kept == 0)
            wrong = name + ": " + quoted + " — знак «" + EncodeUtf8(typed) + "» в это поле не вводится.";
        else
            pendingTyped_ += EncodeUtf8(kept);
    }
    std::string typed = std::move(pendingTyped_);
    typingAside_ = false;
    pendingTyped_.clear();
    if (wrong.empty() && described.MaxLength > 0 && CountCharacters(typed) > std::size_t(described.MaxLength))
        wrong = name + ": " + quoted + " — длиннее " + std::to_string(described.MaxLength) + " знаков.";
    return typed;
}

// One row from the clipboard: every field judged before anything in the
// window changes; then the texts go in without a recomputation each, the
// type is picked once and the ship computed once.
void TForm1::PasteRow()
{
    ReadShipRow read = ReadShipRowFrom(view_.ClipboardText());
    if (!read.Error.empty()) {
        view_.ShowError(read.Error);
        return;
    }
    RowTexts& fields = read.Fields;
    const std::vector<std::string_view> ships = ListItems(Control::ComboBox1);
    if (std::find(ships.begin(), ships.end(), fields[0]) == ships.end()) {
        view_.ShowError("Тип корабля: «" + fields[0] + "» — такого типа нет в списке.");
        return;
    }
    for (std::size_t i = 1; i + 1 < RowFields.size(); ++i) {
        std::string wrong;
        fields[i] = Typed(RowFields[i], fields[i], wrong);
        if (!wrong.empty()) {
            view_.ShowError(wrong);
            return;
        }
    }
    const std::vector<std::string_view> calibers = ListItems(Control::ComboBox2);
    if (std::find(calibers.begin(), calibers.end(), fields.back()) == calibers.end()) {
        view_.ShowError("Вооружение: «" + fields.back() + "» — такого калибра нет в списке.");
        return;
    }
    // Computed aside first: a row the core refuses shows its failure and
    // changes nothing either.
    ShipCoefficients coefficients = ShipCoefficients_;
    SelectShipType(fields[0], coefficients);
    ComputeScore(FiguresOf(fields), fields[0], coefficients, separator_);
    filling_ = true;
    try {
        for (std::size_t i = 0; i < RowFields.size(); ++i)
            view_.SetText(RowFields[i], fields[i]);
    } catch (...) {
        filling_ = false;
        throw;
    }
    filling_ = false;
    SelectShipType(fields[0], ShipCoefficients_);
    StartShip();
    SUMM();
}

}  // namespace kvorn
