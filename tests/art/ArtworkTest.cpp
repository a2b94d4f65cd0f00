// The picture files as the build writes them: one per picture, in the right format and size,
// and the same bytes every time they are drawn.
#include "Artwork.h"
#include "ArtTestSupport.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <map>

namespace zanthera::art {
namespace {

std::map<std::string, ImageFile> drawnFiles() {
    const Result<std::vector<Picture>> pictures = drawArtwork();
    EXPECT_TRUE(pictures) << pictures.error().message;
    std::map<std::string, ImageFile> out;
    if (pictures)
        for (const Picture& p : *pictures)
            out[p.fileName] = p.bytes;
    return out;
}

// One file per picture, named after its control: the buttons' pictures are 32-bit bitmaps of their
// table size, the background a 24-bit bitmap, and the icon holds two images. (The files' exact
// layout is pinned by the picture file tests.)
TEST(Artwork, WritesOneFilePerPictureInItsFormatAndSize) {
    const auto files = drawnFiles();
    EXPECT_EQ(files.size(), 21u);
    for (const design::ControlRow& row : testing::buttons()) {
        SCOPED_TRACE(std::string(row.name));
        ASSERT_TRUE(files.contains(std::string(row.name) + ".bmp"));
        const ImageFile& file = files.at(std::string(row.name) + ".bmp");
        const Result<DecodedBitmap> bitmap = decodeBitmap(file);
        ASSERT_TRUE(bitmap) << bitmap.error().message;
        EXPECT_EQ(bitmap->depth, BitmapDepth::Bits32);
        EXPECT_EQ(bitmap->picture.width, row.picture.width);
        EXPECT_EQ(bitmap->picture.height, row.picture.height);
    }
    ASSERT_TRUE(files.contains("Form1.bmp") && files.contains("Form1.ico"));
    const Result<DecodedBitmap> background = decodeBitmap(files.at("Form1.bmp"));
    ASSERT_TRUE(background) << background.error().message;
    EXPECT_EQ(background->depth, BitmapDepth::Bits24);
    EXPECT_EQ(background->picture.width, 426);
    EXPECT_EQ(background->picture.height, 509);
    EXPECT_EQ(files.at("Form1.ico").size(), 1078u);
    const auto icon = decodeIcon(files.at("Form1.ico"));
    ASSERT_TRUE(icon) << icon.error().message;
    EXPECT_EQ(icon->size(), 2u);
}

ImageFile readFile(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

ino_t inodeOf(const QString& path) {
    struct stat info {};
    return ::stat(path.toLocal8Bit().constData(), &info) == 0 ? info.st_ino : 0;
}

bool runTool(const QString& outDir) {
    QProcess tool;
    tool.start(QStringLiteral(ZANTHERA_ART_TOOL), {outDir});
    return tool.waitForFinished(-1) && tool.exitStatus() == QProcess::NormalExit &&
           tool.exitCode() == 0;
}

// The tool, in a process of its own, writes what the library draws here; run again over its own
// output it replaces nothing, so what is built from the pictures is not rebuilt.
TEST(ArtTool, WritesTheDrawnBytesAndLeavesUnchangedFilesInPlace) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(runTool(dir.path()));
    std::map<std::string, ino_t> inodes;
    for (const auto& [name, bytes] : drawnFiles()) {
        const QString path = dir.filePath(QString::fromStdString(name));
        EXPECT_EQ(readFile(path), bytes) << name;
        inodes[name] = inodeOf(path);
    }
    ASSERT_TRUE(runTool(dir.path()));
    for (const auto& [name, inode] : inodes)
        EXPECT_EQ(inodeOf(dir.filePath(QString::fromStdString(name))), inode) << name;
}

} // namespace
} // namespace zanthera::art
