#pragma once
// The calculator window as data: the one description both windows are
// built from. Controls are listed in stacking order, bottom to top.

#include <array>
#include <string_view>
#include <vector>

#include "form_view.h"

namespace kvorn {

enum class ControlKind { Picture, Label, Edit, ComboBox, PictureButton };

struct FontDescription {
    std::string_view Face;
    int PixelHeight;
    bool Bold;
};

// A face that stands in for a missing one is made this narrow, in per cent
// of its own width: the fields were sized for narrower faces, and three bold
// digits must fit a crew field.
inline constexpr int StandInWidthPercent = 90;

struct Rgb {
    int Red, Green, Blue;
};
// The result's text.
inline constexpr Rgb ResultColour = {0, 0, 0};

struct Geometry {
    int Left, Top, Width, Height;
};

struct ControlDescription {
    Control Id;
    std::string_view Name;
    ControlKind Kind;
    Geometry Bounds;
    int TabOrder;   // -1: not a tab stop
    int MaxLength;  // 0: no limit
    FontDescription Font;
    std::string_view Text;            // initial text or caption
    std::string_view AccessibleName;  // what a screen reader announces
};

struct WindowDescription {
    std::string_view Caption;
    Geometry Bounds;  // the client area, on the screen
    FontDescription Font;
};

// The application's title: its taskbar entry and the caption of its boxes.
inline constexpr std::string_view ApplicationTitle = "Kvorn calculator";

inline constexpr WindowDescription Form1Properties = {
    "Кворн калькулятор v1.1.1 c12a", {444, 196, 196, 317}, {"MS Sans Serif", 11, false}};

namespace detail {
inline constexpr FontDescription FieldFont = {"MS Sans Serif", 13, true};
}

inline constexpr std::array<ControlDescription, 14> Form1Controls = {{
    {Control::Image1, "Image1", ControlKind::Picture, {0, 0, 198, 321}, -1, 0, {"MS Sans Serif", 11, false}, "", ""},
    {Control::Label2, "Label2", ControlKind::Label, {149, 196, 4, 16}, -1, 0, {"MS Sans Serif", 13, false}, "/", ""},
    {Control::Label1, "Label1", ControlKind::Label, {10, 255, 176, 24}, -1, 0, {"Verdana", 19, true}, "", "Результат"},
    {Control::Edit1, "Edit1", ControlKind::Edit, {138, 38, 48, 22}, 1, 5, detail::FieldFont, "", "Корпус"},
    {Control::Edit2, "Edit2", ControlKind::Edit, {138, 162, 48, 22}, 5, 4, detail::FieldFont, "", "Трюм"},
    {Control::Edit3, "Edit3", ControlKind::Edit, {138, 69, 48, 22}, 2, 5, detail::FieldFont, "", "Скорость"},
    {Control::Edit4, "Edit4", ControlKind::Edit, {138, 99, 48, 22}, 3, 5, detail::FieldFont, "", "Маневренность"},
    {Control::Edit5, "Edit5", ControlKind::Edit, {138, 130, 48, 22}, 4, 5, detail::FieldFont, "", "Бейдевинд"},
    {Control::Edit6, "Edit6", ControlKind::Edit, {117, 193, 31, 22}, 6, 3, detail::FieldFont, "",
     "Команда м/о, первое число"},
    {Control::Edit7, "Edit7", ControlKind::Edit, {154, 193, 31, 22}, 7, 3, detail::FieldFont, "",
     "Команда м/о, второе число"},
    {Control::ComboBox1, "ComboBox1", ControlKind::ComboBox, {10, 6, 176, 24}, 0, 0, detail::FieldFont, "Тип корабля",
     "Тип корабля"},
    {Control::ComboBox2, "ComboBox2", ControlKind::ComboBox, {138, 223, 48, 24}, 8, 0, detail::FieldFont, "",
     "Вооружение"},
    {Control::BitBtn1, "BitBtn1", ControlKind::PictureButton, {14, 288, 78, 19}, 9, 0, {"MS Sans Serif", 11, false}, "",
     "Очистить"},
    {Control::BitBtn2, "BitBtn2", ControlKind::PictureButton, {104, 288, 78, 19}, 10, 0, {"MS Sans Serif", 11, false},
     "", "Выход"},
}};

// A drop-down list shows this many items at a time, each this high.
inline constexpr int ListVisibleItems = 8;
inline constexpr int ListItemHeight = 16;

const ControlDescription& Describe(Control control);
// The list items of a combo box: ComboBox1 lists the ship types, in table order.
std::vector<std::string_view> ListItems(Control control);
// The tab stops, first to last.
std::vector<Control> TabOrder();

}  // namespace kvorn
