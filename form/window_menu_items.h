#pragma once
// The window's own context menu, the same in both windows: its items in
// their order. When each is offered and what it does is the form's
// (TForm1::Offers, TForm1::Run); a window only opens the menu where the
// picture or the result is, or from the keyboard, and reports the choice.

#include <array>
#include <string_view>

namespace kvorn {

enum class WindowCommand { CopyResult, CopyRow, PasteRow };

struct WindowMenuItem {
    WindowCommand Command;
    std::string_view Text;
};

inline constexpr std::array<WindowMenuItem, 3> WindowMenuItems = {{
    {WindowCommand::CopyResult, "Копировать результат"},
    {WindowCommand::CopyRow, "Копировать строку"},
    {WindowCommand::PasteRow, "Вставить строку"},
}};

}  // namespace kvorn
