// The Win32 unit tests. Started as `win32_tests --record FILE ...` the program is instead the
// recording child of the program-starter tests: it writes the command line Windows gave it.
#include "platform/win32/Utf16.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

int main(int argc, char* argv[]) {
    if (argc >= 3 && std::strcmp(argv[1], "--record") == 0) {
        const std::string line = zanthera::win32::narrow(GetCommandLineW());
        // Written aside and renamed, so that the test never reads half a line.
        const std::string part = std::string(argv[2]) + ".part";
        std::FILE* file = std::fopen(part.c_str(), "wb");
        if (!file)
            return 1;
        std::fwrite(line.data(), 1, line.size(), file);
        return std::fclose(file) == 0 && std::rename(part.c_str(), argv[2]) == 0 ? 0 : 1;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
