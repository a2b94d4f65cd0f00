// Zanthera: one window of settings shortcuts, built from the definition compiled into it.
#include "Form1/StoredDefinition.h"
#include "platform/ProgramEntry.h"

int main(int argc, char* argv[]) {
    return zanthera::runProgram(argc, argv, zanthera::storedDefinition());
}
