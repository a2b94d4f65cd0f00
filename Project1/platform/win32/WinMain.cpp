// Windows enters a GUI program at WinMain on toolchains whose start-up code looks for it; it does
// what main does. (MinGW's start-up code calls main itself when the program has one.)
#include "Form1/StoredDefinition.h"
#include "platform/ProgramEntry.h"

#include <windows.h>

#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return zanthera::runProgram(__argc, __argv, zanthera::storedDefinition());
}
