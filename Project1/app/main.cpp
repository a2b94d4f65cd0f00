// Zanthera: one window of settings shortcuts, built from the definition compiled into it.
#include "Form1/StoredDefinition.h"
#include "platform/qt/QtProgram.h"

int main(int argc, char* argv[]) {
    return zanthera::qt::runOnDesktop(argc, argv, zanthera::storedDefinition());
}
