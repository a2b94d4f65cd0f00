#include "Listing.h"

#include "ArtFiles.h"

#include "Form1/DefinitionBytes.h"
#include "Form1/DefinitionPictures.h"
#include "Form1/ImageLayout.h"

#include <cstdio>
#include <set>
#include <system_error>

namespace zanthera::formdef {

using namespace definition;

namespace {

template <typename... Args> std::string format(const char* pattern, Args... args) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, pattern, args...);
    return buffer;
}

std::string describePicture(std::span<const std::uint8_t> file) {
    const auto kind = checkImageFile(file, 0);
    if (!kind)
        return "damaged picture: " + kind.error().message;
    if (*kind == ImageKind::Icon)
        return format("icon, %zu images, %zu bytes", readIconDirectory(file)->size(), file.size());
    const BitmapLayout layout = readBitmapLayout(file).value();
    // A bitmap stored from the top shows a negative height, as its header holds it.
    return format("bitmap %d x %d, %u bits, %zu bytes", layout.width,
                  layout.bottomUp ? layout.height : -layout.height, unsigned(layout.depth),
                  file.size());
}

std::string describeColour(StoredColour c) {
    if (c.isSystem())
        return format("system colour %u (0x%08X)", unsigned(c.value & 0xFF), unsigned(c.value));
    return format("RGB(%u, %u, %u)", unsigned(c.red()), unsigned(c.green()), unsigned(c.blue()));
}

std::string describeFont(const FontSpec& f) {
    return format("\"%s\", %.2f pt, character set %u, weight %u, style 0x%02X, version %u",
                  f.name.c_str(), f.sizeTenThousandthsPt / 10000.0, unsigned(f.charset),
                  unsigned(f.weight), unsigned(f.styleFlags), unsigned(f.version));
}

template <typename Rect> std::string describeRect(const Rect& r) {
    return format("left %lu, top %lu, width %lu, height %lu", (unsigned long)r.left,
                  (unsigned long)r.top, (unsigned long)r.width, (unsigned long)r.height);
}

std::string recordLine(const StoredRecord& r) {
    return format("%9zu  record %-3u %-12s %-8s length %u\n", r.offset, unsigned(r.index),
                  r.name.c_str(), std::string(kindName(r.kind)).c_str(), unsigned(r.length));
}

} // namespace

std::string describeValue(const PropertyValue& value) {
    struct Describe {
        std::string operator()(const std::string& text) const { return "\"" + text + "\""; }
        std::string operator()(const Extents& e) const { return describeRect(e); }
        std::string operator()(const ClientRect& r) const { return describeRect(r); }
        std::string operator()(StoredColour c) const { return describeColour(c); }
        std::string operator()(Choice c) const { return std::to_string(c.value); }
        std::string operator()(bool b) const { return b ? "true (FF)" : "false (00)"; }
        std::string operator()(TabIndex t) const { return std::to_string(t.value); }
        std::string operator()(const PictureBytes& p) const { return describePicture(p.file); }
        std::string operator()(const FontSpec& f) const { return describeFont(f); }
        std::string operator()(FourBytes v) const {
            return format("0x%08X (%u)", unsigned(v.value), unsigned(v.value));
        }
    };
    return std::visit(Describe{}, value);
}

std::string listDefinition(const ParsedDefinition& parsed) {
    std::string out = format("block of %zu bytes, %zu controls\n", parsed.size,
                             parsed.records.empty() ? std::size_t(0) : parsed.records.size() - 1);
    out += "window identifier " + parsed.ids.window.text() + "\n";
    out += "second identifier " + parsed.ids.second.text() + "\n\n";
    out += "   offset  opcode  setting          value\n";
    for (const auto& record : parsed.records) {
        out += recordLine(record);
        for (const auto& p : record.properties)
            out += format("%9zu    %02X    %-16s ", p.offset, unsigned(p.rule->opcode),
                          std::string(p.rule->name).c_str()) +
                   describeValue(p.value) + "\n";
        if (record.steppedOver)
            out += format("%9zu    %02X    (unknown opcode: the rest of the record is stepped "
                          "over)\n",
                          record.steppedOver->offset, unsigned(record.steppedOver->opcode));
    }
    return out;
}

Result<std::vector<std::filesystem::path>> extractPictures(const ParsedDefinition& parsed,
                                                           const std::filesystem::path& dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec)
        return Error{dir.string() + ": cannot create: " + ec.message()};
    std::vector<std::filesystem::path> written;
    std::set<std::string> used;
    for (const auto& record : parsed.records) {
        for (const auto& p : record.properties) {
            const auto* picture = std::get_if<PictureBytes>(&p.value);
            if (!picture)
                continue;
            const auto kind = checkImageFile(picture->file, p.offset);
            const char* extension = kind ? imageExtension(*kind) : ".bin";
            // Record names are identifiers, so they are safe as file names.
            std::string name = record.name + extension;
            if (!used.insert(name).second) {
                name = record.name + "-" + std::to_string(p.rule->opcode) + extension;
                used.insert(name);
            }
            if (auto s = writeFile(dir / name, picture->file); !s)
                return s.error();
            written.push_back(dir / name);
        }
    }
    return written;
}

} // namespace zanthera::formdef
