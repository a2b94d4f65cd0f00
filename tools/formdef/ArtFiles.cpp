#include "ArtFiles.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

namespace zanthera::formdef {

namespace {

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

} // namespace zanthera::formdef
