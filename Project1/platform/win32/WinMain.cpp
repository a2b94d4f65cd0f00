// Windows enters a GUI program at WinMain on toolchains whose start-up code looks for it; it does
// what main does. (MinGW's start-up code calls main itself when the program has one.)
#include "Form1/StoredDefinition.h"
#include "platform/ProgramEntry.h"

#include <windows.h>

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

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return zanthera::runProgram(__argc, __argv, zanthera::storedDefinition());
}
