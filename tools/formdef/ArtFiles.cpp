#include "ArtFiles.h"

#include "Form1/ControlTable.h"
#include "Form1/DefinitionPictures.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <system_error>

namespace zanthera::formdef {

namespace {

// The artwork's depths and the icon's sizes, which the control table does not give.
constexpr std::uint16_t backgroundBits = 24;
constexpr std::uint16_t buttonBits = 32;
constexpr std::array<std::uint8_t, 2> iconSides{32, 16};
constexpr std::uint8_t placeholderShade = 0x80;

Status attachFile(ImageFile& target, const std::filesystem::path& path,
                  std::vector<std::filesystem::path>& read) {
    auto bytes = readFile(path);
    if (!bytes)
        return bytes.error();
    read.push_back(path);
    target = std::move(bytes).value();
    return success();
}

} // namespace

Result<std::vector<std::uint8_t>> readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Error{path.string() + ": cannot open"};
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    if (in.bad())
        return Error{path.string() + ": cannot read"};
    return bytes;
}

Status writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        return Error{path.string() + ": cannot write"};
    return success();
}

Status writeFileIfChanged(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    if (auto old = readFile(path); old && std::ranges::equal(*old, bytes))
        return success();
    auto temporary = path;
    temporary += ".tmp";
    if (auto s = writeFile(temporary, bytes); !s)
        return s;
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    if (ec)
        return Error{path.string() + ": cannot replace: " + ec.message()};
    return success();
}

Status attachArtwork(WindowModel& model, const std::filesystem::path& dir,
                     std::vector<std::filesystem::path>& read) {
    const std::string window = model.form.name;
    if (auto s = attachFile(model.form.background, dir / (window + ".bmp"), read); !s)
        return s;
    if (auto s = attachFile(model.form.icon, dir / (window + ".ico"), read); !s)
        return s;
    for (auto& control : model.controls)
        if (control.kind == ControlKind::Button)
            if (auto s = attachFile(control.picture, dir / (control.name + ".bmp"), read); !s)
                return s;
    return success();
}

void attachPlaceholderArtwork(WindowModel& model) {
    using definition::blankBitmap;
    model.form.background =
        blankBitmap(design::backgroundPicture.width, design::backgroundPicture.height,
                    backgroundBits, placeholderShade);
    model.form.icon = definition::blankIcon(iconSides);
    for (auto& control : model.controls) {
        const auto* row = design::findControl(control.name);
        if (control.kind != ControlKind::Button || !row)
            continue;
        control.picture = blankBitmap(static_cast<std::uint16_t>(row->picture.width),
                                      static_cast<std::uint16_t>(row->picture.height), buttonBits,
                                      placeholderShade);
    }
}

} // namespace zanthera::formdef
