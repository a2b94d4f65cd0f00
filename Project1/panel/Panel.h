// The information panel: weekday, month and minutes since start, filled when the window loads,
// and, with the time and date, rewritten on every tick of Timer1.
#pragma once

#include "platform/FormsEngine.h"
#include "platform/PlatformServices.h"

#include <array>
#include <string_view>

namespace zanthera {

// Weekday names by the platform's number counted from Sunday (1) to Saturday (7).
inline constexpr std::array<std::string_view, 7> weekdayNames{
    "الأحد", "الاثنين", "الثلاثاء", "الأربعاء", "الخميس", "الجمعة", "السبت",
};
inline constexpr std::string_view minutesUnit = "دقيقة";
// Load sets the clock ticking once a second.
inline constexpr int tickMilliseconds = 1000;

Status Form_Load(PlatformServices& services, FormWindow& window);
Status Timer1_Timer(PlatformServices& services, FormWindow& window);

} // namespace zanthera
