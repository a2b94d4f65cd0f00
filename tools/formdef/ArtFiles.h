// Files for the definition tools: reading whole files, replacing a build output only when its
// content changes, and gathering the window's pictures from the artwork directory.
#pragma once

#include "Form1/WindowModel.h"
#include "base/Result.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace zanthera::formdef {

Result<std::vector<std::uint8_t>> readFile(const std::filesystem::path& path);

Status writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// Leaves the file alone when it already holds exactly these bytes, so that nothing built from it
// is rebuilt; otherwise writes a temporary file beside it and renames it into place, so that a
// reader never sees half a file.
Status writeFileIfChanged(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// Attaches the pictures that the artwork tool writes: <window>.bmp (background), <window>.ico and
// <button>.bmp for every button. `read` collects the files used, for the build's dependencies.
Status attachArtwork(WindowModel& model, const std::filesystem::path& dir,
                     std::vector<std::filesystem::path>& read);

} // namespace zanthera::formdef
