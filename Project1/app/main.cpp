// Zanthera: one window of settings shortcuts, built from the definition compiled into it.
#include "Form1/StoredDefinition.h"
#include "Startup.h"

int main(int argc, char* argv[]) {
    auto frontEnd = zanthera::openFrontEnd(argc, argv);
    return zanthera::startWindow(*frontEnd, zanthera::storedDefinition());
}
