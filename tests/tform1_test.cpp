// The form's behaviour through its view interface, with no window system.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "described_window.h"
#include "form_description.h"
#include "score.h"
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
    std::string clipboard;
    std::string ClipboardText() const override { return clipboard; }
    void SetClipboardText(std::string_view text) override { clipboard = text; }
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
    // A text the user put in, and the change event it fires.
    void Enter(Control control, std::string_view text)
    {
        view.texts[control] = text;
        form.Changed(control);
    }
};

}  // namespace

// Each control's event runs the handler the wiring table names.
TEST_F(FormBehaviour, EveryChangeHandlerRecomputes)
{
    EnterFrigate();
    form.Changed(Control::ComboBox1);  // picks the type, then SUMM
    ASSERT_EQ(Label(), test::Frigate.Label);
    for (Control control : {Control::Edit1, Control::Edit2, Control::Edit3, Control::Edit4, Control::Edit5,
                            Control::Edit6, Control::Edit7, Control::ComboBox2}) {
        view.texts[Control::Label1] = "";
        form.Changed(control);
        EXPECT_EQ(Label(), test::Frigate.Label) << NameOf(control);
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
    Enter(Control::Edit5, "");
    EXPECT_TRUE(view.messages.empty());
    Enter(Control::Edit5, "0,5");
    form.Changed(Control::Edit7);
    EXPECT_EQ(view.messages, (std::vector<std::string>{"Не вбран тип корабля", "Не вбран тип корабля"}));
    EXPECT_EQ(Label(), "old");
}

TEST_F(FormBehaviour, SelectionComesBeforeTheScoreAndNearMissesKeepTheLastType)
{
    EXPECT_EQ(form.Coefficients(), ShipCoefficients{});  // none picked yet
    EnterFrigate("Корвет");
    form.Changed(Control::ComboBox1);  // with SUMM first, the zero divisor would fail
    EXPECT_TRUE(view.errors.empty());
    const ShipCoefficients corvette = form.Coefficients();
    EXPECT_EQ(corvette.CannonCount, 32);
    Enter(Control::ComboBox1, "корвет");
    EXPECT_EQ(form.Coefficients(), corvette);
}

TEST_F(FormBehaviour, AFailureIsShownOnceAndLeavesTheLabel)
{
    EnterFrigate();
    form.Changed(Control::ComboBox1);
    ASSERT_EQ(Label(), test::Frigate.Label);
    form.SetSeparator(U'.');
    form.Changed(Control::Edit3);
    EXPECT_EQ(view.errors, std::vector<std::string>{"'14,5' is not a valid floating point value"});
    EXPECT_EQ(Label(), test::Frigate.Label);
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
    EXPECT_TRUE(std::ranges::equal(TabOrder(), test::DescribedTabOrder));
    for (const ControlDescription& d : Form1Controls)
        EXPECT_EQ(&Describe(d.Id), &d) << d.Name;
    const std::vector<std::string_view> ships = ListItems(Control::ComboBox1);
    EXPECT_TRUE(std::ranges::equal(ships, ShipTypeTable, {}, {}, &ShipType::Name));
    EXPECT_EQ(ListItems(Control::ComboBox2), (std::vector<std::string_view>{"12", "16", "24", "32", "42"}));
}

// The result's breakdown: the nine shares in the window's words and order
// and the result; nothing while the label shows no result. (Which result is
// the previous one: ThePreviousResultIsTheLastShipRated.)
TEST_F(FormBehaviour, TheResultDescribesItsShares)
{
    EXPECT_EQ(form.ResultDescription(), "");
    EnterFrigate();
    form.Changed(Control::ComboBox1);
    ASSERT_EQ(Label(), test::Frigate.Label);
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

    // A failed recomputation leaves the label, and its breakdown, as they were.
    const std::string shown = form.ResultDescription();
    Enter(Control::Edit3, "1x");
    EXPECT_EQ(form.ResultDescription(), shown);
}

// The previous result names the last ship the user rated: picks that only
// pass over a type (the list walked with Down or the wheel, one pick each),
// a type picked and left, and a Clear rate nothing; a figure changed, the
// caliber picked or a pasted row do.
TEST_F(FormBehaviour, ThePreviousResultIsTheLastShipRated)
{
    const auto pick = [this](const char* ship) { Enter(Control::ComboBox1, ship); };
    const auto previous = [this] {
        constexpr std::string_view heading = "\nПредыдущий: ";
        const std::string text = form.ResultDescription();
        const std::size_t at = text.rfind(heading);
        return at == std::string::npos ? std::string("none") : text.substr(at + heading.size());
    };
    pick("Фрегат");  // with every figure empty: nothing to show
    EnterFrigate();
    Enter(Control::Edit1, "3000");
    ASSERT_EQ(Label(), test::Frigate.Label);
    pick("Т Галлеон");  // Down, Down: the types passed show a result each
    const std::string galleon = Label();
    EXPECT_EQ(previous(), "Фрегат 122.05");
    pick("Корвет");
    EXPECT_EQ(previous(), "Фрегат 122.05");
    Enter(Control::Edit1, "2500");  // the corvette's figures
    Enter(Control::ComboBox2, "16");
    const std::string corvette = Label();
    EXPECT_EQ(previous(), "Фрегат 122.05");
    EXPECT_NE(form.ResultDescription().find("\nПушки (32): "), std::string::npos);
    // A pick by the mouse, left alone, then back: the corvette stays the last rated.
    pick("Шлюп");
    pick("Корвет");
    EXPECT_EQ(previous(), "Корвет " + corvette);
    // Clear ends the ship; the next one rated names the corvette, also
    // when its first figure is typed only after its type was picked.
    form.Clicked(Control::BitBtn1);
    EXPECT_EQ(form.ResultDescription(), "");
    EnterFrigate("Т Галлеон");
    pick("Т Галлеон");
    EXPECT_EQ(Label(), galleon);
    EXPECT_EQ(previous(), "Корвет " + corvette);
    pick("Фрегат");
    EXPECT_EQ(previous(), "Корвет " + corvette);
    // A pasted row is a ship rated.
    view.clipboard = "Корвет\t3000\t14,5\t35\t0,5\t2000\t100\t400\t24";
    form.Run(WindowCommand::PasteRow);
    const std::string pasted = Label();
    pick("Фрегат");
    EXPECT_EQ(previous(), "Корвет " + pasted);
}

// Copying: the result as shown; the row with the type, the eight figures as
// typed in the batch's order and the score with the regional mark, tabs
// between; neither while the fields do not give the result shown.
TEST_F(FormBehaviour, CopiesTheResultAndTheRow)
{
    EXPECT_FALSE(form.Offers(WindowCommand::CopyResult));
    EXPECT_FALSE(form.Offers(WindowCommand::CopyRow));
    EXPECT_FALSE(form.Offers(WindowCommand::PasteRow));
    EnterFrigate();
    form.Changed(Control::ComboBox1);
    ASSERT_TRUE(form.Offers(WindowCommand::CopyResult));
    form.Run(WindowCommand::CopyResult);
    EXPECT_EQ(view.clipboard, "122.05");
    ASSERT_TRUE(form.Offers(WindowCommand::CopyRow));
    form.Run(WindowCommand::CopyRow);
    EXPECT_EQ(view.clipboard, "Фрегат\t3000\t14,5\t35\t0,5\t2000\t100\t400\t24\t122,05");
    EXPECT_TRUE(form.Offers(WindowCommand::PasteRow));
    form.SetSeparator(U'.');
    view.texts[Control::Edit3] = "14.5";
    view.texts[Control::Edit5] = "0.5";
    form.Run(WindowCommand::CopyRow);
    EXPECT_EQ(view.clipboard, "Фрегат\t3000\t14.5\t35\t0.5\t2000\t100\t400\t24\t122.05");

    Enter(Control::Edit1, "");  // emptied: the label keeps the last result
    EXPECT_TRUE(form.Offers(WindowCommand::CopyResult));
    EXPECT_FALSE(form.Offers(WindowCommand::CopyRow));
    view.texts[Control::Edit1] = "3000";
    Enter(Control::Edit3, "14,5");  // refused by the point's conversion
    EXPECT_FALSE(form.Offers(WindowCommand::CopyRow));
    form.Run(WindowCommand::CopyRow);
    EXPECT_EQ(view.clipboard, "Фрегат\t3000\t14.5\t35\t0.5\t2000\t100\t400\t24\t122.05");
}

// Pasting a row: a good one is one pick and one recomputation, the score
// the core's for the figures; anything else one box naming the field, and
// nothing in the window changes.
TEST_F(FormBehaviour, PastesOneRowOrTellsWhatIsWrong)
{
    struct Case {
        const char* clipboard;
        const char* error;  // empty: pasted
    };
    const Case cases[] = {
        {"Фрегат\t3000\t14,5\t35\t0,5\t2000\t100\t400\t24", ""},
        {"Фрегат\t3000\t14.5\t35\t0.5\t2000\t100\t400\t24\t122,05\r\n", ""},
        {"ship;hull;speed;manoeuvrability;close-hauled;hold;crew1;crew2;caliber;score\n"
         "Фрегат;3000;14,5;35;0,5;2000;100;400;24;122,05\n", ""},
        {"Тип,Корпус,Скорость,Маневренность,Бейдевинд,Трюм,Команда,Команда,Вооружение\r\n"
         "\"Фрегат\",3000,\"14,5\",35,\"0,5\",2000,100,400,24\r\n\r\n", ""},
        {"\"Фрегат\",\"3000\",\"14.5\",\"35\",\"0.5\",\"2000\",\"100\",\"400\",\"24\"", ""},
        {"\xEF\xBB\xBF" "Баркас;1;,;0;,5;9999;0;999;42", ""},
        {"", "В буфере обмена нет строки с кораблём."},
        {"Фрегат\t3000\t14,5\t35\t0,5\t2000\t100\t400", "Полей в строке: 8,"},
        {"Фрегат\t3000\t14,5\t35\t0,5\t2000\t100\t400\t24\tсчёт", "Полей в строке: 10,"},
        {"Тип\tКорпус\tСкорость\tМаневренность\tБейдевинд\tТрюм\tКоманда\tКоманда\tВооружение\n",
         "В буфере обмена только заголовки"},
        {"Фрегат,3000,14,5,35,0,5,2000,100,400,24", "Полей в строке: 11,"},
        {"Фрегат\t3000\t14,5\t35\t0,5\t2000\t100\t400\t24\nБаркас\t1\t1\t1\t1\t1\t1\t1\t12",
         "больше одной строки"},
        {"Фрегатт\t3000\t14,5\t35\t0,5\t2000\t100\t400\t24", "Тип корабля: «Фрегатт»"},
        {"Тип корабля\t3000\t14,5\t35\t0,5\t2000\t100\t400\t24", "Тип корабля: «Тип корабля»"},
        {"Фрегат\t3000 \t14,5\t35\t0,5\t2000\t100\t400\t24", "Корпус: «3000 » — знак « »"},
        {"Фрегат\t300000\t14,5\t35\t0,5\t2000\t100\t400\t24", "Корпус: «300000» — длиннее 5 знаков."},
        {"Фрегат\t3000\t14,5,\t35\t0,5\t2000\t100\t400\t24", "Скорость: «14,5,» — знак «,»"},
        {"Фрегат\t3000\t14,5\t3.5.\t0,5\t2000\t100\t400\t24", "Маневренность: «3.5.» — знак «.»"},
        {"Фрегат\t3000\t14,5\t35\t-0,5\t2000\t100\t400\t24", "Бейдевинд: «-0,5» — знак «-»"},
        {"Фрегат\t3000\t14,5\t35\t0,5\t20000\t100\t400\t24", "Трюм: «20000» — длиннее 4 знаков."},
        {"Фрегат\t3000\t14,5\t35\t0,5\t2000\t\t400\t24", "Команда м/о, первое число: поле пусто."},
        {"Фрегат\t3000\t14,5\t35\t0,5\t2000\t100\t4e2\t24", "Команда м/о, второе число: «4e2» — знак «e»"},
        {"Фрегат\t3000\t14,5\t35\t0,5\t2000\t100\t400\t20", "Вооружение: «20» — такого калибра нет"},
        {"Фрегат\t3000\t14,5\t35\t0,5\t2000\t100\t400\t024", "Вооружение: «024»"},
        {"Фрегат\t3000\t1\b4\t35\t0,5\t2000\t100\t400\t24", "Скорость: «1\b4» — знак «\b»"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clipboard);
        view.texts.clear();
        EnterFrigate("Шлюп");  // another ship on screen, rated
        view.texts[Control::Edit1] = "2999";
        form.Changed(Control::ComboBox1);
        ASSERT_FALSE(Label().empty());
        const std::map<Control, std::string> before = view.texts;
        view.log.clear();
        view.errors.clear();
        view.clipboard = c.clipboard;
        form.Run(WindowCommand::PasteRow);
        // The type on screen is the one picked: the sloop still after a refusal.
        ShipCoefficients expected;
        ASSERT_TRUE(SelectShipType(view.texts[Control::ComboBox1], expected));
        EXPECT_EQ(form.Coefficients().ShipDivisor, expected.ShipDivisor);
        if (*c.error) {
            ASSERT_EQ(view.errors.size(), 1u);
            EXPECT_NE(view.errors[0].find(c.error), std::string::npos) << view.errors[0];
            EXPECT_TRUE(view.errors[0].ends_with(".")) << view.errors[0];
            EXPECT_EQ(view.texts, before);
            EXPECT_TRUE(view.log.empty());
            continue;
        }
        EXPECT_TRUE(view.errors.empty()) << view.errors[0];
        EXPECT_TRUE(view.messages.empty());
        // The score is the core's for the texts that went in.
        const auto& t = view.texts;
        const ScoreResult score = ComputeScore({t.at(Control::Edit1), t.at(Control::Edit2), t.at(Control::Edit3),
                                                t.at(Control::Edit4), t.at(Control::Edit5), t.at(Control::Edit6),
                                                t.at(Control::Edit7), t.at(Control::ComboBox2)},
                                               t.at(Control::ComboBox1), expected, U',');
        EXPECT_EQ(Label(), score.Text);
        if (t.at(Control::ComboBox1) == test::Frigate.Type) {  // each figure in its own field
            EXPECT_EQ(Label(), test::Frigate.Label);
        }
        // Every field set once, the result once: no recomputation per field.
        EXPECT_EQ(view.log.size(), 10u);
        EXPECT_EQ(std::count_if(view.log.begin(), view.log.end(),
                                [](const std::string& line) { return line.starts_with("SetText Label1"); }),
                  1);
    }
}
