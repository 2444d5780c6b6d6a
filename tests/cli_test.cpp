// The scorer tested from the outside: arguments, exit codes, streams.

#include <gtest/gtest.h>
#include <unicode/uloc.h>

#include <QLocale>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

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
        {{"--batch", "a.csv", "b.csv"}, "C", 2, "", "one file"},
        {{"--batch", "no such.csv"}, "C", 1, "", "cannot read 'no such.csv'"},
        {{"--output=x.csv", "--list"}, "C", 2, "", "--output goes with --batch"},
        {{"--batch", "--output"}, "C", 2, "", "--output takes the file"},
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
    EXPECT_LT(std::stod(run.out), std::stod(Score({"Фрегат", "3000", "14", "35", "0", "2000", "100", "400", "24"}).out));
}

// The files spreadsheets write: Russian Excel's Windows-1251 with ';', and
// ',' or tabs with the decimals quoted (RFC 4180), each rated alike and
// answered in its own encoding, delimiter and decimal mark, whatever the
// regional one; headings in any language, a file rated before, and the
// rows that are passed on or fail.
TEST(ScorerCommand, BatchReadsWhatSpreadsheetsWrite)
{
    // "Фрегат", "Нет" and "Корабль;Корпус" in Windows-1251.
    const std::string frigate1251 = "\xD4\xF0\xE5\xE3\xE0\xF2", no1251 = "\xCD\xE5\xF2",
                      heading1251 = "\xCA\xEE\xF0\xE0\xE1\xEB\xFC;\xCA\xEE\xF0\xEF\xF3\xF1";
    const struct {
        const char* name;
        const char* lang;
        std::string input, out, err;
        int exitCode;
    } rows[] = {
        {"UTF-8, ';'", "C", "ship;hull;speed;manoeuvrability;close_hauled;hold;crew1;crew2;caliber\r\n"
                       "Фрегат;3000;14,5;35;0,5;2000;100;400;24\r\nНет;1;1;1;1;1;1;1;12\r\n",
         "ship;hull;speed;manoeuvrability;close_hauled;hold;crew1;crew2;caliber;score\r\n"
         "Фрегат;3000;14,5;35;0,5;2000;100;400;24;122,05\r\nНет;1;1;1;1;1;1;1;12;\r\n",
         "line 3: unknown ship type 'Нет' (kvorn-score --list shows the 24 types)\n", 1},
        {"Windows-1251, ';'", "C", heading1251 + ";b;c;d;e;f;g;h\r\n" +
                                  frigate1251 + ";3000;14,5;35;0,5;2000;100;400;24\r\n" + no1251 + ";1;1;1;1;1;1;1;12\r\n",
         heading1251 + ";b;c;d;e;f;g;h;score\r\n" + frigate1251 +
             ";3000;14,5;35;0,5;2000;100;400;24;122,05\r\n" + no1251 + ";1;1;1;1;1;1;1;12;\r\n",
         "line 3: unknown ship type 'Нет' (kvorn-score --list shows the 24 types)\n", 1},
        {"',', quoted decimals", "C", "Ship,hull,speed,manoeuvrability,close_hauled,hold,crew1,crew2,caliber\n"
                                 "Фрегат,3000,\"14,5\",35,\"0,5\",2000,100,400,24\n\"Т \"\"Галлеон\"\"\",1,1,1,1,1,1,1,12\n",
         "Ship,hull,speed,manoeuvrability,close_hauled,hold,crew1,crew2,caliber,score\n"
         "Фрегат,3000,\"14,5\",35,\"0,5\",2000,100,400,24,\"122,05\"\n\"Т \"\"Галлеон\"\"\",1,1,1,1,1,1,1,12,\n",
         "line 3: unknown ship type 'Т \"Галлеон\"' (kvorn-score --list shows the 24 types)\n", 1},
        {"tabs", "C", "Фрегат\t3000\t14,5\t35\t0,5\t2000\t100\t400\t24\nФрегат\t3000\n",
         "Фрегат\t3000\t14,5\t35\t0,5\t2000\t100\t400\t24\t122,05\nФрегат\t3000\t\n",
         "line 2: expected a ship type and 8 figures separated by tabs, found 2 fields\n", 1},
        {"rated before, an empty figure", "ru_RU.UTF-8",
         "Тип корабля;Корпус;Скорость;Маневренность;Бейдевинд;Трюм;Команда;м/о;Вооружение;score\n"
         "Фрегат;3000;14,5;35;0,5;2000;100;400;24;122.05\nФрегат;3000;;35;0,5;2000;100;400;24;\n",
         "Тип корабля;Корпус;Скорость;Маневренность;Бейдевинд;Трюм;Команда;м/о;Вооружение;score\n"
         "Фрегат;3000;14,5;35;0,5;2000;100;400;24;122,05\nФрегат;3000;;35;0,5;2000;100;400;24;\n",
         "line 3: the speed is empty; nothing to rate\n", 0},
        {"points where the region has commas", "ru_RU.UTF-8", "Корвет,2500,15.7,41.5,0.45,1200,120,180,16\n",
         "Корвет,2500,15.7,41.5,0.45,1200,120,180,16,94.23\n", "", 0},
        {"both marks: the regional one", "C",
         "Корвет;2500;15.7;41.5;0.45;1200;120;180;16\nФрегат;3000;14,5;35;0,5;2000;100;400;24\n",
         "Корвет;2500;15.7;41.5;0.45;1200;120;180;16;94.23\nФрегат;3000;14,5;35;0,5;2000;100;400;24;\n",
         "line 2: '14,5' is not a valid floating point value (read with the decimal mark '.'; --separator=C sets "
         "another)\n", 1},
        {"comments, blank lines, failures, no last newline", "C",
         "# a comment; not rated\r\n\r\n\"Корвет\";2500;15,7;41,5;0,45;1200;120;180;16\r\nТип корабля;1;1;1;1;1;1;1;12\r\n"
         "Шлюп;900;16,2;60;0,6;600;40;90\r\nБаркас;0;0;0;0;0;187;0;42",
         "# a comment; not rated\r\n\r\n\"Корвет\";2500;15,7;41,5;0,45;1200;120;180;16;94,23\r\n"
         "Тип корабля;1;1;1;1;1;1;1;12;\r\nШлюп;900;16,2;60;0,6;600;40;90;\r\nБаркас;0;0;0;0;0;187;0;42;29,58\n",
         "line 4: Не вбран тип корабля\nline 5: expected a ship type and 8 figures separated by ';', found 8 fields\n", 1},
        {"--separator=. asked for", "ru_RU.UTF-8", "Шлюп;900;16,2;60;0,6;600;40;90;12\n",
         "Шлюп;900;16,2;60;0,6;600;40;90;12;\n", "line 1: '16,2' is not a valid floating point value\n", 1},
    };
    for (const auto& row : rows) {
        const bool asked = row.name[0] == '-';
        const ProgramRun run = Score(asked ? std::vector<std::string>{"--batch", "--separator=."}
                                           : std::vector<std::string>{"--batch"}, row.input, row.lang);
        EXPECT_EQ(run.out, row.out) << row.name;
        EXPECT_EQ(run.err, row.err) << row.name;
        EXPECT_EQ(run.exitCode, row.exitCode) << row.name;
    }
}

// Random sheets in the four forms spreadsheets save, with or without
// headings and an earlier score: each score is the one the single-row form
// gives (written with the figures' mark), and rating the result again
// changes nothing.
TEST(ScorerCommand, BatchScoresAreTheSingleRowOnes)
{
    const char* const names[] = {"Фрегат", "Т Галлеон", "Шлюп", "Пес войны", "Баркас", "Нет такого", "Тип корабля"};
    const char* const calibers[] = {"12", "16", "24", "32", "42"};
    const auto to1251 = [](const std::string& utf8) {  // the names' letters only: А to я
        std::string bytes;
        for (std::size_t i = 0; i < utf8.size(); ++i) {
            const auto c = static_cast<unsigned char>(utf8[i]);
            if (c < 0x80) {
                bytes += char(c);
            } else {
                const unsigned code = ((c & 0x1F) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F);
                bytes += char(0xC0 + (code - 0x410));
            }
        }
        return bytes;
    };
    std::mt19937 random(24);
    for (int sheet = 0; sheet < 8; ++sheet) {
        const char delimiter = ";,;\t"[sheet % 4];
        const bool windows1251 = sheet % 4 == 0, bom = sheet % 4 == 2, header = sheet % 3 != 0, rated = sheet >= 4;
        const char mark = sheet % 5 == 1 ? '.' : ',';
        const std::string d(1, delimiter);
        const auto field = [&](const std::string& text) {
            return text.find(delimiter) == std::string::npos ? text : "\"" + text + "\"";
        };
        std::string input = bom ? "\xEF\xBB\xBF" : "", wanted = input;
        if (header) {
            std::string headings = "Корабль" + d + "Корпус";
            for (const char* heading : {"b", "c", "d", "e", "f", "g", "h"})
                headings += d + heading;
            input += headings + (rated ? d + "score" : "") + "\r\n";
            wanted += headings + d + "score\r\n";
        }
        for (int ship = 0; ship < 6; ++ship) {
            std::vector<std::string> args = {names[random() % 7]};
            for (int figure = 0; figure < 7; ++figure) {
                std::string text = std::to_string(random() % (figure == 0 ? 40000 : 900));
                if (figure >= 1 && figure <= 3)
                    text += mark + std::to_string(random() % 100);
                args.push_back(random() % 25 ? text : "");
            }
            args.push_back(calibers[random() % 5]);
            std::string row = field(args[0]);
            for (std::size_t i = 1; i < args.size(); ++i)
                row += d + field(args[i]);
            std::vector<std::string> asked = {"--separator=" + std::string(1, mark), "--"};
            asked.insert(asked.end(), args.begin(), args.end());
            const ProgramRun single = Score(asked);
            std::string score = single.exitCode == 0 ? single.out.substr(0, single.out.find('\n')) : "";
            std::replace(score.begin(), score.end(), '.', mark);
            const std::string encoded = windows1251 ? to1251(row) : row;
            input += encoded + (rated ? d + field(std::to_string(random() % 300) + ".5") : "") + "\r\n";
            wanted += encoded + d + field(score) + "\r\n";
        }
        const ProgramRun run = Score({"--batch"}, input, "C");
        EXPECT_EQ(run.out, wanted) << "sheet " << sheet << "\n" << run.err;
        const ProgramRun again = Score({"--batch"}, run.out, "C");
        EXPECT_EQ(again.out, run.out) << "sheet " << sheet << " rated again";
    }
}

// A file dropped on the program, or named with --batch and --output: the
// rated rows are those --batch writes, in a new file; the file read is never
// written over.
TEST(ScorerCommand, FilesAreRatedIntoNewOnes)
{
    const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "kvorn-files-24";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string rows = "Фрегат;3000;14,5;35;0,5;2000;100;400;24\r\n";
    const std::string rated = Score({"--batch"}, rows).out;
    ASSERT_EQ(rated, "Фрегат;3000;14,5;35;0,5;2000;100;400;24;122,05\r\n");

    const std::filesystem::path ships = folder / "корабли.csv", beside = folder / "корабли.rated.csv";
    std::ofstream(ships, std::ios::binary) << rows;
    const ProgramRun dropped = Score({ships.string()});
    EXPECT_EQ(dropped.exitCode, 0) << dropped.err;
    EXPECT_EQ(ReadFile(beside.string()), rated);
    EXPECT_EQ(ReadFile(ships.string()), rows);
    EXPECT_NE(dropped.out.find(beside.string()), std::string::npos) << dropped.out;

    const std::filesystem::path output = folder / "out.csv";
    const ProgramRun named = Score({"--batch", ships.string(), "--output", output.string()});
    EXPECT_EQ(named.exitCode, 0) << named.err;
    EXPECT_EQ(named.out, "");
    EXPECT_EQ(ReadFile(output.string()), rated);

    const std::filesystem::path same = folder / "." / "корабли.csv";
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--batch", ships.string(), "--output=" + same.string()},
          std::vector<std::string>{ships.string(), "--output", ships.string()}}) {
        const ProgramRun over = Score(args);
        EXPECT_EQ(over.exitCode, 2) << args[1];
        EXPECT_NE(over.err.find("never written over"), std::string::npos) << over.err;
        EXPECT_EQ(ReadFile(ships.string()), rows);
    }
    std::filesystem::remove_all(folder);
}

TEST(ScorerCommand, ListShowsEveryTypeAligned)
{
    const ProgramRun run = Score({"--list"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.rfind(" #  Ship ", 0), 0u);
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
        EXPECT_LT(columns, 80u) << "wraps in an 80-column console: " << line;
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
    // A name no locale answers to must not get ICU's default locale.
    UErrorCode status = U_ZERO_ERROR;
    uloc_setDefault("de_DE", &status);
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
