// zanthera-form: a maintenance tool for stored window definitions. FILE may be a block itself or
// a program that carries one.
//
//   zanthera-form dump FILE        the records, opcodes and values as a table
//   zanthera-form check FILE       validates; prints the first fault and fails on one
//   zanthera-form extract FILE DIR writes the pictures out as .bmp and .ico files

#include "ArtFiles.h"
#include "BlockSearch.h"
#include "Listing.h"

#include <cstdio>
#include <string>

namespace {

using namespace zanthera;

int fail(const std::string& file, const Error& error) {
    std::fprintf(stderr, "%s: %s\n", file.c_str(), error.message.c_str());
    return 1;
}

int usage() {
    std::fprintf(stderr, "usage: zanthera-form dump FILE\n"
                         "       zanthera-form check FILE\n"
                         "       zanthera-form extract FILE DIR\n");
    return 2;
}

int runCommand(const std::string& command, const std::string& file, const char* dir) {
    auto bytes = formdef::readFile(file);
    if (!bytes)
        return fail(file, bytes.error());
    auto located = formdef::locateDefinition(*bytes);
    if (!located)
        return fail(file, located.error());
    const auto& parsed = located->parsed;
    if (command == "dump") {
        std::printf("%s: block at file offset %zu\n%s", file.c_str(), located->block.fileOffset,
                    formdef::listDefinition(parsed).c_str());
    } else if (command == "check") {
        std::printf(
            "%s: valid block of %zu bytes at file offset %zu: window %s with %zu controls\n",
            file.c_str(), parsed.size, located->block.fileOffset,
            parsed.records.front().name.c_str(), parsed.records.size() - 1);
    } else {
        auto written = formdef::extractPictures(parsed, dir);
        if (!written)
            return fail(file, written.error());
        for (const auto& path : *written)
            std::printf("%s\n", path.string().c_str());
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return usage();
    const std::string command = argv[1];
    const bool known = ((command == "dump" || command == "check") && argc == 3) ||
                       (command == "extract" && argc == 4);
    if (!known)
        return usage();
    return runCommand(command, argv[2], argc == 4 ? argv[3] : nullptr);
}
