// The scorer tested from the outside: arguments, exit codes, streams.

#include <gtest/gtest.h>
#include <unicode/uloc.h>

#include <QLocale>

#include "regional_settings.h"
#include "run_program.h"

namespace {

ProgramRun Score(const std::vector<std::string>& args, const std::string& input = "", const char* lang = "C")
{
    return RunProgram(KVORN_SCORE_PATH, args, {std::string("LC_ALL=") + lang}, input);
}

const std::vector<std::string> Frigate = {"Фрегат", "3000", "14,5", "35", "0,5", "2000", "100", "400", "24"};

}  // namespace

// The breakdown of the frigate of the first worked result.
TEST(ScorerCommand, ExplainPrintsEachShareThenTheScore)
{
    auto args = Frigate;
    args.insert(args.begin(), {"--explain", "--separator=,"});
    const ProgramRun run = Score(args);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "hull\t3000\t15.30\n"
                       "speed\t14,5\t21.96\n"
                       "manoeuvrability\t35\t8.44\n"
                       "close_hauled\t0,5\t0.22\n"
                       "hold\t2000\t3.82\n"
                       "crew1\t100\t0.75\n"
                       "crew2\t400\t7.62\n"
                       "cannons\t46\t14.60\n"
                       "caliber\t24\t49.35\n"
                       "score\t\t122.05\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(Score({"--explain", "--batch"}).exitCode, 2);
}

TEST(ScorerCommand, HelpAsWindowsToolsAndOthersAskForIt)
{
    const ProgramRun help = Score({"--help"});
    ASSERT_EQ(help.out.rfind("usage: kvorn-score", 0), 0u);
    EXPECT_NE(help.out.find("--explain"), std::string::npos);
    for (const char* ask : {"/?", "-h"}) {
        const ProgramRun run = Score({ask});
        EXPECT_EQ(run.exitCode, 0) << ask;
        EXPECT_EQ(run.out, help.out) << ask;
    }
}

TEST(ScorerCommand, ArgumentsAndExitCodes)
{
    const struct {
        std::vector<std::string> args;
        const char* lang;
        int exitCode;
        const char* out;
        const char* err;  // a fragment of standard error
    } rows[] = {
        {[] { auto a = Frigate; a.insert(a.begin(), "--separator=,"); return a; }(), "C", 0, "122.05\n", ""},
        {Frigate, "ru_RU.UTF-8", 0, "122.05\n", ""},
        {{"Фрегат", "3000", "14.5", "35", "0.5", "2000", "100", "400", "24"}, "C", 0, "122.05\n", ""},
        {{"Шлюп", "900", "16.2", "60", "0.6", "600", "40", "90", "12"}, "en_US.UTF-8", 0, "65.00\n", ""},
        {{"Баркас", "0", "0", "0", "0", "0", "187", "0", "42"}, "C", 0, "29.58\n", ""},
        {{"Фрегат", "3000", "", "35", "0,5", "2000", "100", "400", "24"}, "C", 0, "", ""},
        {{"", "3000", "14,5", "35", "0,5", "2000", "100", "400", "24"}, "C", 0, "", ""},
        {{"Тип корабля", "3000", "14,5", "35", "0,5", "2000", "100", "400", "24"}, "C", 3, "",
         "Не вбран тип корабля\n"},
        {Frigate, "C", 1, "", "'14,5' is not a valid floating point value\n"},
        {{"Фрегат", "1e999", "0", "0", "0", "0", "0", "0", "12"}, "C", 1, "", "Floating point overflow\n"},
        {{"Фрегат", "1e99", "0", "0", "0", "0", "0", "0", "12"}, "C", 0, "5.10E+96\n", ""},
        {{"Фрегатт", "3000", "14", "35", "0", "2000", "100", "400", "24"}, "C", 1, "", "--list"},
        {{"Фрегат", "3000"}, "C", 2, "", "expected a ship type and 8 figures, got 2 arguments\nusage: kvorn-score"},
        {{"--frobnicate"}, "C", 2, "", "unknown option --frobnicate"},
        {{"--separator=ab", "--list"}, "C", 2, "", "--separator takes one character"},
        {{"--separator=5", "--list"}, "C", 2, "", "--separator takes one character"},
        {{"--batch", "Фрегат"}, "C", 2, "", "standard input"},
        {{"--list", "--help"}, "C", 2, "", "choose one"},
        {{"--version"}, "C", 0, "kvorn-score 1.1.1\n", ""},
    };
    for (const auto& row : rows) {
        const ProgramRun run = Score(row.args, "", row.lang);
        std::string call;
        for (const auto& a : row.args)
            call += "'" + a + "' ";
        EXPECT_EQ(run.exitCode, row.exitCode) << call << run.err;
        if (row.out[0] || row.exitCode != 0) {
            EXPECT_EQ(run.out, row.out) << call;
        }
        EXPECT_NE(run.err.find(row.err), std::string::npos) << call << "\n" << run.err;
        if (!row.err[0]) {
            EXPECT_EQ(run.err, "") << call;
        }
        // What fails without --explain fails the same way with it.
        const bool modeless = row.args.empty() || row.args[0].rfind("--", 0) != 0 || row.args[0][2] == 's';
        if (modeless && (row.exitCode != 0 || run.out.empty())) {
            auto explained = row.args;
            explained.insert(explained.begin(), "--explain");
            const ProgramRun again = Score(explained, "", row.lang);
            EXPECT_EQ(again.exitCode, run.exitCode) << "--explain " << call;
            EXPECT_EQ(again.out, "") << "--explain " << call;
            EXPECT_EQ(again.err, run.err) << "--explain " << call;
        }
    }
}

TEST(ScorerCommand, NegativeHullAfterDoubleDashIsRated)
{
    const ProgramRun run = Score({"--", "Фрегат", "-3000", "14", "35", "0", "2000", "100", "400", "24"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_FALSE(run.out.empty());
    EXPECT_LT(std::stod(run.out), std::stod(Score({"Фрегат", "3000", "14", "35", "0", "2000", "100", "400", "24"}).out));
}

TEST(ScorerCommand, BatchRatesEachRowIndependently)
{
    const std::string input =
        "\xEF\xBB\xBFship;hull;speed;manoeuvrability;close_hauled;hold;crew1;crew2;caliber\r\n"
        "Фрегат;3000;14,5;35;0,5;2000;100;400;24\r\n"
        "# a comment; not rated\r\n"
        "\r\n"
        "\"Корвет\";2500;15,7;41,5;0,45;1200;120;180;16\r\n"
        "Нет такого;1;1;1;1;1;1;1;12\r\n"
        "Шлюп;900;16,2;60;0,6;600;40;90;32\r\n"
        "Тип корабля;1;1;1;1;1;1;1;12\r\n"
        "Шлюп;900;16,2;60;0,6;600;40;90\r\n"
        "Шлюп;900;16.2;60;0,6;600;40;90;32\r\n"
        "Баркас;0;0;0;0;0;187;0;42";
    const std::string expected =
        "\xEF\xBB\xBFship;hull;speed;manoeuvrability;close_hauled;hold;crew1;crew2;caliber;score\r\n"
        "Фрегат;3000;14,5;35;0,5;2000;100;400;24;122.05\r\n"
        "# a comment; not rated\r\n"
        "\r\n"
        "\"Корвет\";2500;15,7;41,5;0,45;1200;120;180;16;94.23\r\n"
        "Нет такого;1;1;1;1;1;1;1;12;\r\n"
        "Шлюп;900;16,2;60;0,6;600;40;90;32;70.84\r\n"
        "Тип корабля;1;1;1;1;1;1;1;12;\r\n"
        "Шлюп;900;16,2;60;0,6;600;40;90;\r\n"
        "Шлюп;900;16.2;60;0,6;600;40;90;32;\r\n"
        "Баркас;0;0;0;0;0;187;0;42;29.58\n";
    const ProgramRun run = Score({"--batch", "--separator=,"}, input);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, expected);
    EXPECT_EQ(run.err,
              "line 6: unknown ship type 'Нет такого' (kvorn-score --list shows the 24 types)\n"
              "line 8: Не вбран тип корабля\n"
              "line 9: expected a ship type and 8 figures separated by ';', found 8 fields\n"
              "line 10: '16.2' is not a valid floating point value\n");
}

// The files spreadsheets write: Russian Excel's Windows-1251 with ';', and
// ',' or tabs with the decimals quoted (RFC 4180), each rated alike and
// answered in its own encoding and delimiter.
TEST(ScorerCommand, BatchReadsWhatSpreadsheetsWrite)
{
    // "Фрегат" and "Нет" in Windows-1251.
    const std::string frigate1251 = "\xD4\xF0\xE5\xE3\xE0\xF2", no1251 = "\xCD\xE5\xF2";
    const struct {
        const char* name;
        std::string input, out, err;
    } rows[] = {
        {"UTF-8, ';'", "ship;hull;speed;manoeuvrability;close_hauled;hold;crew1;crew2;caliber\r\n"
                       "Фрегат;3000;14,5;35;0,5;2000;100;400;24\r\nНет;1;1;1;1;1;1;1;12\r\n",
         "ship;hull;speed;manoeuvrability;close_hauled;hold;crew1;crew2;caliber;score\r\n"
         "Фрегат;3000;14,5;35;0,5;2000;100;400;24;122.05\r\nНет;1;1;1;1;1;1;1;12;\r\n",
         "line 3: unknown ship type 'Нет' (kvorn-score --list shows the 24 types)\n"},
        {"Windows-1251, ';'", "ship;hull;speed;manoeuvrability;close_hauled;hold;crew1;crew2;caliber\r\n" +
                                  frigate1251 + ";3000;14,5;35;0,5;2000;100;400;24\r\n" + no1251 + ";1;1;1;1;1;1;1;12\r\n",
         "ship;hull;speed;manoeuvrability;close_hauled;hold;crew1;crew2;caliber;score\r\n" + frigate1251 +
             ";3000;14,5;35;0,5;2000;100;400;24;122.05\r\n" + no1251 + ";1;1;1;1;1;1;1;12;\r\n",
         "line 3: unknown ship type 'Нет' (kvorn-score --list shows the 24 types)\n"},
        {"',', quoted decimals", "ship,hull,speed,manoeuvrability,close_hauled,hold,crew1,crew2,caliber\n"
                                 "Фрегат,3000,\"14,5\",35,\"0,5\",2000,100,400,24\n\"Т \"\"Галлеон\"\"\",1,1,1,1,1,1,1,12\n",
         "ship,hull,speed,manoeuvrability,close_hauled,hold,crew1,crew2,caliber,score\n"
         "Фрегат,3000,\"14,5\",35,\"0,5\",2000,100,400,24,122.05\n\"Т \"\"Галлеон\"\"\",1,1,1,1,1,1,1,12,\n",
         "line 3: unknown ship type 'Т \"Галлеон\"' (kvorn-score --list shows the 24 types)\n"},
        {"tabs", "Фрегат\t3000\t14,5\t35\t0,5\t2000\t100\t400\t24\nФрегат\t3000\n",
         "Фрегат\t3000\t14,5\t35\t0,5\t2000\t100\t400\t24\t122.05\nФрегат\t3000\t\n",
         "line 2: expected a ship type and 8 figures separated by tabs, found 2 fields\n"},
    };
    for (const auto& row : rows) {
        const ProgramRun run = Score({"--batch", "--separator=,"}, row.input);
        EXPECT_EQ(run.out, row.out) << row.name;
        EXPECT_EQ(run.err, row.err) << row.name;
        EXPECT_EQ(run.exitCode, 1) << row.name;
    }
}

TEST(ScorerCommand, BatchWithoutFailuresExitsZero)
{
    const ProgramRun run = Score({"--batch"}, "Шлюп;900;16.2;60;0.6;600;40;90;12\nШлюп;900;16.2;;0.6;600;40;90;12\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "Шлюп;900;16.2;60;0.6;600;40;90;12;65.00\nШлюп;900;16.2;;0.6;600;40;90;12;\n");
    EXPECT_EQ(run.err, "");
}

TEST(ScorerCommand, ListShowsEveryTypeAligned)
{
    const ProgramRun run = Score({"--list"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("ShipDivisor"), std::string::npos);
    EXPECT_NE(run.out.find("3.5125"), std::string::npos);
    int lines = 0;
    std::size_t width = 0;
    for (std::size_t at = 0; at < run.out.size();) {
        const std::size_t end = run.out.find('\n', at);
        const std::string line = run.out.substr(at, end - at);
        std::size_t columns = 0;  // characters, not bytes
        for (unsigned char c : line)
            columns += (c & 0xC0) != 0x80;
        if (lines == 0)
            width = columns;
        EXPECT_EQ(columns, width) << line;
        ++lines;
        at = end + 1;
    }
    EXPECT_EQ(lines, 25);
    EXPECT_NE(run.out.find("Т Галлеон"), std::string::npos);
}

// Every locale ICU knows, as LANG names it, with the separator Qt gives it;
// but Chuvash, for which Qt 6.4's table has no numbers and gives the point
// (with which no figure typed in the window converts), has its comma.
TEST(RegionalSeparator, EveryLocaleAsQtReadsIt)
{
    std::vector<std::string> names = {"C", "POSIX", "C.UTF-8", "", "ru_RU.UTF-8", "de_DE@euro", "sr_RS@latin",
                                      "ru-RU", "xx_YY", "ru", "fa_IR.UTF-8", "ar_EG", "de_CH.ISO-8859-1"};
    for (int32_t i = 0; i < uloc_countAvailable(); ++i) {
        names.push_back(uloc_getAvailable(i));
        names.push_back(names.back() + ".UTF-8");
    }
    int differ = 0;
    for (const std::string& name : names) {
        const QLocale locale(QString::fromStdString(name));
        const bool chuvash = locale.language() == QLocale::Chuvash;
        const char32_t qt = chuvash ? U',' : locale.decimalPoint().toUcs4().front();
        const char32_t ours = kvorn::LocaleSeparator(name);
        if (ours != qt && ++differ < 20)
            ADD_FAILURE() << "'" << name << "': " << std::hex << unsigned(ours) << ", Qt " << unsigned(qt);
    }
    EXPECT_EQ(differ, 0) << "of " << names.size();
}
