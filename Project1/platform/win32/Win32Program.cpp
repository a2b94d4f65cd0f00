// The program on Windows: the Win32 forms engine and the Windows platform services.
#include "Win32Forms.h"
#include "Win32Services.h"
#include "app/Startup.h"
#include "platform/ProgramEntry.h"

namespace zanthera {

int runProgram(int, char*[], std::span<const std::uint8_t> definition) {
    win32::Win32Forms forms(GetModuleHandleW(nullptr));
    win32::Win32Services services([&forms] { return forms.window(); }, [&forms] { forms.end(); });
    return startWindow(forms, services, definition);
}

} // namespace zanthera
