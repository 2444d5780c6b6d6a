#pragma once
// A ship as one row of a spreadsheet: the type, the eight figures in the
// window's top-to-bottom order (as kvorn-score --batch reads them) and,
// when written, the score. Copied rows are tab-separated, as spreadsheets
// split a pasted line into cells; read rows may also use ';' or ',' with
// quoted decimals, carry a header line and a score column.

#include <array>
#include <string>
#include <string_view>

#include "form_view.h"
#include "score.h"

namespace kvorn {

inline constexpr std::array<Control, 9> RowFields = {Control::ComboBox1, Control::Edit1, Control::Edit3,
                                                     Control::Edit4,     Control::Edit5, Control::Edit2,
                                                     Control::Edit6,     Control::Edit7, Control::ComboBox2};

using RowTexts = std::array<std::string, RowFields.size()>;

// The eight figures of a row, as the score takes them.
ScoreInputs FiguresOf(const RowTexts& row);

// The row, tab-separated, the score's decimal point written as `separator`
// so that a spreadsheet with those regional settings takes it for a number.
std::string WriteShipRow(const RowTexts& fields, std::string_view score, char32_t separator);

struct ReadShipRow {
    RowTexts Fields;
    std::string Error;  // the user's words for what is wrong; empty when read
};

// The one ship row of `text`, split into its fields: lines that are empty
// left out, a first line of headings and a score after the figures dropped,
// as the scorer's batch does. Only the shape is judged here; the fields'
// contents are the form's to judge.
ReadShipRow ReadShipRowFrom(std::string_view text);

}  // namespace kvorn
