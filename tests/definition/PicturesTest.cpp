// The definition checks the headers of the picture files it carries: a file whose headers
// disagree with its size is refused, naming the field, and whole files of every layout that
// Windows writes are accepted.
#include "Support.h"

#include "Form1/DefinitionPictures.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace zanthera::testing {
namespace {

using definition::ImageKind;

// A bitmap with the 12-byte header of the oldest format and a bottom-up 2 x 2 image.
Bytes coreBitmap() {
    Bytes b = hexBytes("42 4D 2A 00 00 00 00 00 00 00 1A 00 00 00 | 0C 00 00 00 02 00 02 00 "
                       "01 00 18 00");
    b.resize(42, 0x33);
    return b;
}
// An icon whose one image is a PNG file, as newer icons hold them.
Bytes pngIcon() {
    return hexBytes("00 00 01 00 01 00 | 10 10 00 00 01 00 20 00 0C 00 00 00 16 00 00 00 | "
                    "89 50 4E 47 0D 0A 1A 0A 00 00 00 00");
}

struct PictureCase {
    Bytes file;
    std::function<void(Bytes&)> change;
    std::string message; // empty: accepted as `kind`
    ImageKind kind = ImageKind::Bitmap;
};

TEST(Pictures, AcceptWholeFilesAndRefuseThoseWhoseHeadersDisagreeWithTheirSize) {
    const Bytes bitmap = bitmapFile(4, 3, 24); // 54 + 3 rows of 12 bytes
    const Bytes icon = iconFile({32, 16});
    const auto none = [](Bytes&) {};
    // A good file, a change to it, and the message; checked as if the file began at offset 100.
    // clang-format off
    const PictureCase cases[] = {
        {bitmap, none, ""},
        {bitmap, [](Bytes& b) { put32(b, 22, static_cast<std::uint32_t>(-3)); }, ""}, // top-down
        {coreBitmap(), none, ""},
        {icon, none, "", ImageKind::Icon},
        {pngIcon(), none, "", ImageKind::Icon},
        {Bytes{'G', 'I', 'F', '8'}, none,
         "offset 100: picture is neither a bitmap file nor an icon file"},
        {Bytes{'B', 'M', 0, 0}, none,
         "offset 100: bitmap file of 4 bytes is shorter than its headers"},
        {bitmap, [](Bytes& b) { b.push_back(0); },
         "offset 102: bitmap file size field 90 disagrees with the picture's 91 bytes"},
        {bitmap, [](Bytes& b) { put32(b, 14, 41); },
         "offset 114: bitmap information header size 41 is not known or runs past the file"},
        {bitmap, [](Bytes& b) { put32(b, 18, 0); },
         "offset 114: bitmap of 0 x 3 pixels is out of range"},
        {bitmap, [](Bytes& b) { put32(b, 22, 0x80000000u); },
         "offset 114: bitmap of 4 x -2147483648 pixels is out of range"},
        {bitmap, [](Bytes& b) { put16(b, 26, 2); }, "offset 114: bitmap has 2 planes, not 1"},
        {bitmap, [](Bytes& b) { put32(b, 30, 1); },
         "offset 114: bitmap encoding 1 with 24 bits per pixel is not known"},
        {bitmap, [](Bytes& b) { put32(b, 10, 40); },
         "offset 110: bitmap pixel data at 40 does not fit in the file of 90 bytes"},
        {icon, [](Bytes& b) { put16(b, 2, 2); },
         "offset 100: picture is neither a bitmap file nor an icon file"},
        {iconFile({1}), [](Bytes& b) { put16(b, 4, 10); },
         "offset 104: icon directory of 10 images runs past the file"},
        {icon, [](Bytes& b) { put16(b, 4, 65); }, "offset 104: icon file holds 65 images"},
        {icon, [](Bytes& b) { put32(b, 22 + 8, 0); },
         "offset 122: icon image of 0 bytes at 782 lies outside the file"},
        {icon, [](Bytes& b) { put32(b, 22 + 12, 2000); },
         "offset 122: icon image of 296 bytes at 2000 lies outside the file"},
        {icon, [](Bytes& b) { b[38] = 41; },
         "offset 138: icon image is neither a bitmap nor a PNG image"},
        {icon, [](Bytes& b) { b.push_back(0); },
         "offset 100: icon directory and images make 1078 bytes, not the file's 1079"},
    };
    // clang-format on
    for (const auto& c : cases) {
        Bytes file = c.file;
        c.change(file);
        auto kind = definition::checkImageFile(file, 100);
        if (c.message.empty()) {
            ASSERT_TRUE(kind) << kind.error().message;
            EXPECT_EQ(*kind, c.kind);
        } else {
            ASSERT_FALSE(kind) << c.message;
            EXPECT_EQ(kind.error().message, c.message);
        }
    }
}

} // namespace
} // namespace zanthera::testing
