// The window's design: every constant of Form1 and its 31 controls, in creation order. Everything
// else (the stored definition, the artwork, the forms engine) derives from this one table.
#pragma once

#include "Units.h"
#include "WindowModel.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace zanthera::design {

inline constexpr std::string_view windowName = "Form1";
inline constexpr std::string_view caption = "Zanthera ver 0.1";
inline constexpr ClientRect client{4770, 2085, 6375, 7620};
inline constexpr StoredColour windowColour = StoredColour::rgb(1, 0, 66);

// The value labels and the result box use the system colour of an inactive window's title bar.
inline constexpr StoredColour inactiveCaption = StoredColour::system(SystemColour::InactiveCaption);
inline constexpr StoredColour exitButtonFace = StoredColour::rgb(0, 0, 255);

// The exit button carries a caption font although it shows no caption.
inline const FontSpec exitButtonFont{1, 178, 0, 400, 180000, "MS Sans Serif"};

inline constexpr std::uint32_t timerLeft = 0x14A0;
inline constexpr std::uint32_t timerTop = 0x0528;

enum class Role : std::uint8_t { Button, CaptionLabel, ValueLabel, TextBox, Timer };

struct PictureSize {
    int width = 0;
    int height = 0;
};

struct ControlRow {
    std::string_view name;
    Role role;
    Extents extents;            // twips; all zero for the timer
    int tabIndex;               // -1 for the timer
    std::string_view text;      // a caption label's fixed caption
    PictureSize picture;        // a button's picture, in pixels
    std::string_view lettering; // the words a button's picture carries
};

// The window's background: one pixel wider and taller than the client area, so that it covers
// the whole area at 15 twips per pixel.
inline constexpr PictureSize backgroundPicture{426, 509};
inline constexpr PictureSize largePlate{126, 51};
inline constexpr PictureSize smallPlate{76, 31};

// clang-format off
inline constexpr std::array<ControlRow, 31> controls{{
    {"Command10", Role::Button, {5280, 720, 855, 375}, 29, "", {56, 31}, "برامجنا"},
    {"Command9",  Role::Button, {5040, 240, 1095, 375}, 28, "", smallPlate, "ver 0.1"},
    {"Command8",  Role::Button, {240, 240, 375, 375}, 27, "", {28, 21}, "X"},
    {"Command2",  Role::Button, {3600, 4320, 1095, 375}, 26, "", smallPlate, "رقم الهاردسك"},
    {"Command1",  Role::Button, {3600, 3960, 1095, 375}, 25, "", smallPlate, "دقة العرض"},
    {"Timer1",    Role::Timer, {0, 0, 0, 0}, -1, "", {}, ""},
    {"Command4",  Role::Button, {4680, 3960, 1095, 375}, 14, "", smallPlate, "اسم المستخدم"},
    {"Command17", Role::Button, {4080, 4800, 1695, 615}, 13, "", largePlate, "النظام العام"},
    {"Command16", Role::Button, {720, 6600, 1695, 615}, 12, "", largePlate, "اعدادات اقليمية"},
    {"Command15", Role::Button, {2400, 6600, 1695, 615}, 11, "", largePlate, "خيارات الألعاب"},
    {"Text1",     Role::TextBox, {720, 3960, 2655, 615}, 10, "", {}, ""},
    {"Command13", Role::Button, {4680, 4320, 1095, 375}, 9, "", smallPlate, "اسم الكمبيوتر"},
    {"Cmm12",     Role::Button, {4080, 5400, 1695, 615}, 8, "", largePlate, "خصائص الانترنت"},
    {"Cmm11",     Role::Button, {4080, 6600, 1695, 615}, 7, "", largePlate, "خيارات التشغيل"},
    {"Cmm9",      Role::Button, {720, 6000, 1695, 615}, 6, "", largePlate, "لوحة المفاتيح"},
    {"Cmm8",      Role::Button, {2400, 4800, 1695, 615}, 5, "", largePlate, "لوحة التحكم"},
    {"Command7",  Role::Button, {2400, 6000, 1695, 615}, 4, "", largePlate, "إعدادات الماوس"},
    {"Command6",  Role::Button, {720, 5400, 1695, 615}, 3, "", largePlate, "إزالة برنامج"},
    {"Command5",  Role::Button, {2400, 5400, 1695, 615}, 2, "", largePlate, "اعدادات العرض"},
    {"Command3",  Role::Button, {720, 4800, 1695, 615}, 1, "", largePlate, "الوقت والتاريخ"},
    {"Cmm1",      Role::Button, {4080, 6000, 1695, 615}, 0, "", largePlate, "الأصوات والوسائط"},
    {"Label10",   Role::ValueLabel, {720, 3360, 2295, 375}, 24, "", {}, ""},
    {"Label9",    Role::CaptionLabel, {3240, 3360, 2655, 255}, 23, "مضى على تشغيلك للكمبيوتر بالدقيقة", {}, ""},
    {"Label8",    Role::CaptionLabel, {5280, 2640, 615, 255}, 22, "اليوم", {}, ""},
    {"Label7",    Role::CaptionLabel, {2640, 2640, 615, 255}, 21, "الشهر", {}, ""},
    {"Label6",    Role::ValueLabel, {3360, 2640, 1815, 375}, 20, "", {}, ""},
    {"Label5",    Role::ValueLabel, {720, 2640, 1815, 375}, 19, "", {}, ""},
    {"Label4",    Role::CaptionLabel, {2640, 2040, 615, 255}, 18, "التاريخ", {}, ""},
    {"Label3",    Role::CaptionLabel, {5280, 2040, 615, 255}, 17, "الوقت", {}, ""},
    {"Label2",    Role::ValueLabel, {720, 2040, 1815, 375}, 16, "", {}, ""},
    {"Label1",    Role::ValueLabel, {3360, 2040, 1815, 375}, 15, "", {}, ""},
}};
// clang-format on

const ControlRow* findControl(std::string_view name);

// The window as designed, without its pictures: the artwork is attached by the caller.
WindowModel designedWindow();

} // namespace zanthera::design
