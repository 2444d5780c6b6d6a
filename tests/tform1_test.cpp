// The form's behaviour through its view interface, with no window system.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "form_description.h"
#include "form_model.h"
#include "tform1.h"
#include "worked_ships.h"

using namespace kvorn;

namespace {

std::string NameOf(Control control) { return std::string(Describe(control).Name); }

// Remembers every call, and fires an edit's change event when its text
// changes, as both toolkits do.
class FakeView : public FormView {
public:
    TForm1* form = nullptr;
    std::map<Control, std::string> texts = {{Control::ComboBox1, std::string(PlaceholderText)}};
    std::vector<std::string> log;
    std::vector<std::string> messages, errors;
    bool closed = false;
    Control brokenControl = Control::Image1;  // Text() of it throws

    std::string Text(Control control) const override
    {
        if (control == brokenControl)
            throw std::runtime_error("cannot read " + NameOf(control));
        const auto found = texts.find(control);
        return found == texts.end() ? std::string() : found->second;
    }
    void SetText(Control control, std::string_view text) override
    {
        log.push_back("SetText " + NameOf(control) + " '" + std::string(text) + "'");
        const bool changed = texts[control] != text;
        texts[control] = text;
        if (changed && Describe(control).Kind == ControlKind::Edit)
            form->Changed(control);
    }
    void Focus(Control control) override { log.push_back("Focus " + NameOf(control)); }
    void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
    void ShowError(std::string_view message) override { errors.emplace_back(message); }
    void Close() override { closed = true; }
};

class FormBehaviour : public ::testing::Test {
protected:
    FakeView view;
    TForm1 form{view};

    void SetUp() override
    {
        view.form = &form;
        form.SetSeparator(U',');
    }
    // The frigate of the first worked result, typed but not yet computed.
    void EnterFrigate(std::string_view ship = test::Frigate.Type)
    {
        for (std::size_t i = 0; i < 7; ++i)
            view.texts[Control(int(Control::Edit1) + int(i))] = test::Frigate.Figures[i];
        view.texts[Control::ComboBox2] = test::Frigate.Caliber;
        view.texts[Control::ComboBox1] = ship;
    }
    std::string Label() { return view.texts[Control::Label1]; }
};

}  // namespace

// Each control's event runs the handler the wiring table names.
TEST_F(FormBehaviour, EveryChangeHandlerRecomputes)
{
    EnterFrigate();
    form.Changed(Control::ComboBox1);  // picks the type, then SUMM
    ASSERT_EQ(Label(), "122.05");
    for (Control control : {Control::Edit1, Control::Edit2, Control::Edit3, Control::Edit4, Control::Edit5,
                            Control::Edit6, Control::Edit7, Control::ComboBox2}) {
        view.texts[Control::Label1] = "";
        form.Changed(control);
        EXPECT_EQ(Label(), "122.05") << NameOf(control);
    }
    // Changes of what has no change handler do nothing.
    view.texts[Control::Label1] = "";
    form.Changed(Control::BitBtn1);
    form.Changed(Control::Label1);
    EXPECT_EQ(Label(), "");
    EXPECT_TRUE(view.errors.empty());
}

TEST_F(FormBehaviour, KeyPressHandlersApplyTheirFieldsRule)
{
    // Each field's rule, with a key that no other field's rule treats alike.
    const struct {
        Control control;
        char32_t key, kept;
    } rows[] = {
        {Control::Edit1, U'7', U'7'},     {Control::Edit1, U'.', 0},        {Control::Edit2, U'.', 0},
        {Control::Edit6, 8, 8},           {Control::Edit7, U'.', 0},        {Control::Edit3, U'.', U','},
        {Control::Edit4, U',', U','},     {Control::Edit5, U'.', U','},     {Control::Edit5, U'-', 0},
        {Control::ComboBox1, U'1', 0},    {Control::ComboBox2, 8, 0},       {Control::BitBtn1, U'a', U'a'},
    };
    for (const auto& row : rows)
        EXPECT_EQ(form.KeyPressed(row.control, row.key), row.kept) << NameOf(row.control) << " " << int(row.key);
}

TEST_F(FormBehaviour, SeveralCharactersAtOnceAreJudgedOneAfterAnother)
{
    const struct {
        const char* before;
        std::u32string typed, kept;
    } rows[] = {
        {"", U",,", U","}, {"", U",5,", U",5"}, {"1,", U"5.", U"5"}, {"", U"1x2.3", U"12,3"}};
    for (const auto& row : rows) {
        view.texts[Control::Edit3] = row.before;
        EXPECT_EQ(form.FilterTyped(Control::Edit3, row.typed), row.kept) << row.before;
    }
    // Nothing of one event is left over for the next.
    view.texts[Control::Edit4] = "";
    form.FilterTyped(Control::Edit3, U",");
    EXPECT_EQ(form.FilterTyped(Control::Edit4, U","), U",");
}

TEST_F(FormBehaviour, NothingHappensWhileAnyInputIsEmptyAndThePlaceholderAsksEveryTime)
{
    EnterFrigate("Тип корабля");
    view.texts[Control::Label1] = "old";
    view.texts[Control::Edit5] = "";
    form.Changed(Control::Edit5);
    EXPECT_TRUE(view.messages.empty());
    view.texts[Control::Edit5] = "0,5";
    form.Changed(Control::Edit5);
    form.Changed(Control::Edit7);
    EXPECT_EQ(view.messages, (std::vector<std::string>{"Не вбран тип корабля", "Не вбран тип корабля"}));
    EXPECT_EQ(Label(), "old");
}

TEST_F(FormBehaviour, SelectionComesBeforeTheScoreAndNearMissesKeepTheLastType)
{
    EnterFrigate("Корвет");
    form.Changed(Control::ComboBox1);  // with SUMM first, the zero divisor would fail
    EXPECT_TRUE(view.errors.empty());
    const ShipCoefficients corvette = form.Coefficients();
    EXPECT_EQ(corvette.CannonCount, 32);
    view.texts[Control::ComboBox1] = "корвет";
    form.Changed(Control::ComboBox1);
    EXPECT_EQ(form.Coefficients(), corvette);
}

TEST_F(FormBehaviour, AFailureIsShownOnceAndLeavesTheLabel)
{
    EnterFrigate();
    form.Changed(Control::ComboBox1);
    ASSERT_EQ(Label(), "122.05");
    form.SetSeparator(U'.');
    form.Changed(Control::Edit3);
    EXPECT_EQ(view.errors, std::vector<std::string>{"'14,5' is not a valid floating point value"});
    EXPECT_EQ(Label(), "122.05");
    // Not only the core's errors: whatever a handler raises stops there.
    view.brokenControl = Control::Edit1;
    form.Changed(Control::Edit1);
    EXPECT_EQ(view.errors.back(), "cannot read Edit1");
    EXPECT_EQ(form.KeyPressed(Control::Edit3, U'5'), U'5');  // Edit3 still readable
    view.brokenControl = Control::Edit3;
    EXPECT_EQ(form.KeyPressed(Control::Edit3, U'5'), char32_t(0));
}

TEST_F(FormBehaviour, ClearEmptiesInOrderAndKeepsTheCoefficients)
{
    EnterFrigate();
    form.Changed(Control::ComboBox1);
    const ShipCoefficients frigate = form.Coefficients();
    view.log.clear();
    form.Clicked(Control::BitBtn1);
    EXPECT_EQ(view.log, (std::vector<std::string>{
                            "SetText Edit1 ''", "SetText Edit2 ''", "SetText Edit3 ''", "SetText Edit4 ''",
                            "SetText Edit5 ''", "SetText Edit6 ''", "SetText Edit7 ''", "SetText Label1 ''",
                            "SetText ComboBox1 'Тип корабля'", "SetText ComboBox2 ''", "Focus ComboBox1"}));
    EXPECT_EQ(form.Coefficients(), frigate);
    EXPECT_TRUE(view.messages.empty());
    EXPECT_TRUE(view.errors.empty());
    EXPECT_FALSE(view.closed);
    form.Clicked(Control::BitBtn2);
    EXPECT_TRUE(view.closed);
}

TEST(FormDescription, EveryControlOnceWithItsTabStopAndItems)
{
    std::vector<Control> order = TabOrder();
    EXPECT_EQ(order, (std::vector<Control>{Control::ComboBox1, Control::Edit1, Control::Edit3, Control::Edit4,
                                           Control::Edit5, Control::Edit2, Control::Edit6, Control::Edit7,
                                           Control::ComboBox2, Control::BitBtn1, Control::BitBtn2}));
    for (const ControlDescription& d : Form1Controls)
        EXPECT_EQ(&Describe(d.Id), &d) << d.Name;
    const std::vector<std::string_view> ships = ListItems(Control::ComboBox1);
    ASSERT_EQ(ships.size(), ShipTypeTable.size());
    EXPECT_EQ(ships.front(), "Мановар");
    EXPECT_EQ(ships.back(), "Баркас");
    EXPECT_EQ(ListItems(Control::ComboBox2), (std::vector<std::string_view>{"12", "16", "24", "32", "42"}));
}

// The result's breakdown: the nine shares in the window's words and order,
// the result, and the previous different result, also across a Clear;
// nothing while the label shows no result.
TEST_F(FormBehaviour, TheResultDescribesItsSharesAndThePreviousResult)
{
    EXPECT_EQ(form.ResultDescription(), "");
    EnterFrigate();
    form.Changed(Control::ComboBox1);
    ASSERT_EQ(Label(), "122.05");
    const std::string frigate = "Корпус: 15.30\n"
                                "Скорость: 21.96\n"
                                "Маневренность: 8.44\n"
                                "Бейдевинд: 0.22\n"
                                "Трюм: 3.82\n"
                                "Команда м/о, первое число: 0.75\n"
                                "Команда м/о, второе число: 7.62\n"
                                "Пушки (46): 14.60\n"
                                "Вооружение (24): 49.35\n"
                                "Фрегат: 122.05\n"
                                "Доли округлены: их сумма может\nотличаться в последнем знаке.";
    EXPECT_EQ(form.ResultDescription(), frigate);
    form.Changed(Control::Edit1);  // the same ship again: no previous one yet
    EXPECT_EQ(form.ResultDescription(), frigate);
    view.texts[Control::Edit1] = "2999";  // every keystroke shows a result of the same ship
    form.Changed(Control::Edit1);
    view.texts[Control::Edit1] = "3000";
    form.Changed(Control::Edit1);
    EXPECT_EQ(form.ResultDescription(), frigate);

    form.Clicked(Control::BitBtn1);
    EXPECT_EQ(form.ResultDescription(), "");
    EnterFrigate("Корвет");
    form.Changed(Control::ComboBox1);
    const std::string corvette = form.ResultDescription(), corvetteScore = Label();
    EXPECT_NE(corvette.find("Пушки (32): "), std::string::npos) << corvette;
    EXPECT_NE(corvette.find("\nКорвет: " + Label() + "\n"), std::string::npos) << corvette;
    EXPECT_TRUE(corvette.ends_with("\nПредыдущий: Фрегат 122.05")) << corvette;

    view.texts[Control::Edit1] = "2999";
    form.Changed(Control::Edit1);
    EXPECT_NE(Label(), corvetteScore);
    EXPECT_TRUE(form.ResultDescription().ends_with("\nПредыдущий: Фрегат 122.05")) << form.ResultDescription();
    // Picking another type starts another ship: the corvette's last result
    // is now the previous one.
    const std::string corvetteLast = Label();
    view.texts[Control::ComboBox1] = "Шлюп";
    form.Changed(Control::ComboBox1);
    EXPECT_TRUE(form.ResultDescription().ends_with("\nПредыдущий: Корвет " + corvetteLast)) << form.ResultDescription();
    // A failed recomputation leaves the label, and its breakdown, as they were.
    const std::string shown = form.ResultDescription();
    view.texts[Control::Edit3] = "1x";
    form.Changed(Control::Edit3);
    EXPECT_EQ(form.ResultDescription(), shown);
}

// The model the windows' differential tests follow: the worked ships typed
// and picked as a user does come to their labels; a type not picked asks
// for one; a hull pasted past the rule fails in the error box.
TEST(FormModel, WorkedShipsTypedAndPicked)
{
    for (const test::WorkedShip& ship : test::WorkedShips) {
        test::FormModel model;
        const auto apply = [&model](test::Step step) { model.Apply(step); return model.State(); };
        const auto items = ListItems(Control::ComboBox1);
        const int type = int(std::find(items.begin(), items.end(), ship.Type) - items.begin());
        const auto calibers = ListItems(Control::ComboBox2);
        const int caliber = int(std::find(calibers.begin(), calibers.end(), ship.Caliber) - calibers.begin());
        const int order[] = {0, 2, 3, 4, 1, 5, 6};  // the fields in tab order
        for (int i : order) {
            test::Expected state = apply(test::KeyStep(test::StepKind::Tab));
            for (char c : ship.Figures[std::size_t(i)])
                state = apply(test::TypedStep(char32_t(c)));
            ASSERT_TRUE(state.Boxes.empty());
        }
        test::Expected state = apply(test::ControlStep(test::StepKind::MousePick, Control::ComboBox2, caliber));
        ASSERT_EQ(state.Boxes.size(), 1u);
        EXPECT_EQ(state.Boxes[0], (test::Box{"Kvorn calculator", "Не вбран тип корабля", test::BoxIcon::None, "OK"}));
        state = apply(test::ControlStep(test::StepKind::MousePick, Control::ComboBox1, type));
        EXPECT_EQ(state.Result, ship.Label) << ship.Type;
        EXPECT_EQ(state.Focus, Control::ComboBox1);
        EXPECT_EQ(state.Edits[6], (test::Field{std::string(ship.Figures[6]), int(ship.Figures[6].size()), int(ship.Figures[6].size())}));
        state = apply(test::KeyStep(test::StepKind::Tab, true));
        EXPECT_EQ(state.Focus, Control::BitBtn2);
    }
    test::FormModel model;
    model.Apply(test::KeyStep(test::StepKind::Tab));
    model.Apply(test::PasteStep("12,5"));
    test::Expected state = model.State();
    EXPECT_EQ(state.Edits[0], (test::Field{"12,5", 4, 4}));
    model.Apply(test::PasteStep("99"));  // one more character fits
    EXPECT_EQ(model.State().Edits[0], (test::Field{"12,59", 5, 5}));
}
