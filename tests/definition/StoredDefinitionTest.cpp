// The block that the build writes into the program.

#include "DesignedLayout.h"
#include "TestWindows.h"

#include "Form1/ControlTable.h"
#include "Form1/DefinitionReader.h"
#include "Form1/StoredDefinition.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace zanthera::testing {
namespace {

WindowModel withoutPictures(WindowModel m) {
    m.form.background.clear();
    m.form.icon.clear();
    for (auto& c : m.controls)
        c.picture.clear();
    return m;
}

TEST(StoredDefinition, HoldsTheDesignedWindowInTheDesignedLayout) {
    const auto block = storedDefinition();
    EXPECT_EQ(block.size(), 1020121u);
    expectDesignedLayout(block);
    auto read = readDefinition(block);
    ASSERT_TRUE(read) << read.error().message;
    EXPECT_EQ(withoutPictures(*read), design::designedWindow());
    EXPECT_EQ(blockOf(*read), Bytes(block.begin(), block.end()));
}

#ifdef ZANTHERA_ART_DIR
Bytes fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(StoredDefinition, CarriesTheArtworkFilesUnchanged) {
    const std::filesystem::path art = ZANTHERA_ART_DIR;
    auto read = readDefinition(storedDefinition());
    ASSERT_TRUE(read) << read.error().message;
    EXPECT_EQ(read->form.background, fileBytes(art / "Form1.bmp"));
    EXPECT_EQ(read->form.icon, fileBytes(art / "Form1.ico"));
    for (const auto& c : read->controls) {
        if (c.kind == ControlKind::Button) {
            EXPECT_EQ(c.picture, fileBytes(art / (c.name + ".bmp"))) << c.name;
        }
    }
}
#endif

} // namespace
} // namespace zanthera::testing
