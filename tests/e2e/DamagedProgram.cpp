// The program handed a definition block cut short in the middle of the window's background
// picture, as a damaged build would hand it.
#include "Form1/StoredDefinition.h"
#include "app/Startup.h"

#include <vector>

int main(int argc, char* argv[]) {
    const auto block = zanthera::storedDefinition();
    const std::vector<std::uint8_t> damaged(block.begin(), block.begin() + 300000);
    auto frontEnd = zanthera::openFrontEnd(argc, argv);
    return zanthera::startWindow(*frontEnd, damaged);
}
