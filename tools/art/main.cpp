// zanthera-art OUTDIR: draws the window's pictures into OUTDIR, one file each. A file whose bytes
// are already right is left untouched, so nothing built from it is rebuilt needlessly.
#include "Artwork.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

bool sameContents(const std::filesystem::path& path, const zanthera::ImageFile& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    const std::vector<std::uint8_t> old((std::istreambuf_iterator<char>(in)),
                                        std::istreambuf_iterator<char>());
    return std::ranges::equal(old, bytes.bytes());
}

// Writes beside the target and renames, so a reader never sees half a file.
bool writeIfChanged(const std::filesystem::path& path, const zanthera::ImageFile& bytes) {
    if (sameContents(path, bytes))
        return true;
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        if (!out.good())
            return false;
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    return !error;
}

} // namespace

int main(int argc, char* argv[]) {
    // The pictures are drawn in memory only; no display is needed or wanted.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: zanthera-art OUTDIR\n");
        return 2;
    }
    const auto pictures = zanthera::art::drawArtwork();
    if (!pictures) {
        std::fprintf(stderr, "zanthera-art: %s\n", pictures.error().message.c_str());
        return 1;
    }
    const std::filesystem::path outDir(argv[1]);
    std::error_code error;
    std::filesystem::create_directories(outDir, error);
    for (const auto& picture : *pictures) {
        if (!writeIfChanged(outDir / picture.fileName, picture.bytes)) {
            std::fprintf(stderr, "zanthera-art: cannot write %s\n",
                         (outDir / picture.fileName).c_str());
            return 1;
        }
    }
    return 0;
}
