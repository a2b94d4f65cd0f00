// The program on Windows: the Win32 forms engine and the Windows platform services.
#include "SystemCalls.h"
#include "Win32Forms.h"
#include "Win32Services.h"
#include "platform/ProgramEntry.h"

#include <cstdlib>

// Nothing in the program throws; an exception escaping a library call can only end it, and a GUI
// program has no console to print the exception's name on. GCC's default handler for that case
// demangles the name first, which links the whole C++ demangler (some 45 KB) into the one file we
// ship: ending at once is all the program needs, so it provides the handler itself.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
} // namespace __gnu_cxx

namespace zanthera {

namespace {

// Every DLL that Windows loads later on the program's behalf (a shell extension, a font driver,
// the accessibility runtime) comes from the system folder, never from the folder the program was
// started from, which may be a download folder holding anything. The call came with an update to
// Windows 7 that not every Windows 7 has; without it, the current folder at least is taken out of
// the search.
void searchDllsInTheSystemFolderOnly() {
    SetDllDirectoryW(L"");
    using SetDefault = BOOL(WINAPI*)(DWORD);
    if (const auto setDefault =
            win32::systemCall<SetDefault>(L"kernel32.dll", "SetDefaultDllDirectories"))
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

class Win32FrontEnd final : public FrontEnd {
  public:
    Win32FrontEnd()
        : forms_(GetModuleHandleW(nullptr)),
          services_([this] { return forms_.window(); }, [this] { forms_.end(); }) {}

    FormsEngine& forms() override { return forms_; }
    PlatformServices& services() override { return services_; }

  private:
    win32::Win32Forms forms_;
    win32::Win32Services services_;
};

} // namespace

// MinGW's start-up code calls main, with or without a console, so the program needs no WinMain.
std::unique_ptr<FrontEnd> openFrontEnd(int&, char*[]) {
    searchDllsInTheSystemFolderOnly();
    return std::make_unique<Win32FrontEnd>();
}

} // namespace zanthera
