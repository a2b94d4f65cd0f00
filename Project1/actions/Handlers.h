// The button handlers. Each is a stateless function of the platform and the window: it asks the
// platform for what it needs and writes only the texts the window allows. A handler that fails
// stops at once, writes nothing more and returns the error for the event loop to show.
#pragma once

#include "platform/FormsEngine.h"
#include "platform/PlatformServices.h"

#include <string_view>

namespace zanthera {

// Starts the launcher row of `button` and reports whether its program could be started.
Status launchApplet(PlatformServices& services, std::string_view button);

Status Cmm1_Click(PlatformServices& services, FormWindow& window);
Status Cmm8_Click(PlatformServices& services, FormWindow& window);
Status Cmm9_Click(PlatformServices& services, FormWindow& window);
Status Cmm11_Click(PlatformServices& services, FormWindow& window);
Status Cmm12_Click(PlatformServices& services, FormWindow& window);
Status Command3_Click(PlatformServices& services, FormWindow& window);
Status Command5_Click(PlatformServices& services, FormWindow& window);
Status Command6_Click(PlatformServices& services, FormWindow& window);
Status Command7_Click(PlatformServices& services, FormWindow& window);
Status Command10_Click(PlatformServices& services, FormWindow& window);
Status Command15_Click(PlatformServices& services, FormWindow& window);
Status Command16_Click(PlatformServices& services, FormWindow& window);
Status Command17_Click(PlatformServices& services, FormWindow& window);

// Information buttons: one fact about the computer into Text1.
Status Command1_Click(PlatformServices& services, FormWindow& window);
Status Command2_Click(PlatformServices& services, FormWindow& window);
Status Command4_Click(PlatformServices& services, FormWindow& window);
Status Command13_Click(PlatformServices& services, FormWindow& window);

// The exit button and the about box.
Status Command8_Click(PlatformServices& services, FormWindow& window);
Status Command9_Click(PlatformServices& services, FormWindow& window);

inline constexpr std::string_view aboutTitle = "Zanthera ver 0,1";
inline constexpr std::string_view aboutPrompt =
    "زانثيرا: كل إعدادات جهازك بين يديك بنقرة واحدة (((مجاني)))";

} // namespace zanthera
