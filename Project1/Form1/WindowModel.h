// The window as the forms engine needs it: the window's own settings and its controls in creation
// order. The stored definition reads into this shape and the forms engine builds from it, so the
// model carries exactly what the definition can hold and nothing of any toolkit.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zanthera {

// The kind codes are the ones the stored definition uses, so they are fixed.
enum class ControlKind : std::uint8_t {
    Label = 1,
    TextBox = 2,
    Button = 4,
    Timer = 11,
    Window = 13
};

// The choices a window or a control stores as one small number; the codes are the stored
// definition's, so they are fixed. A reader may keep a code that has no name here.
enum class Alignment : std::uint8_t { Left = 0, Right = 1, Centre = 2 };
enum class Border : std::uint8_t { None = 0, FixedSingle = 1, Sizable = 2 };
enum class BackStyle : std::uint8_t { Transparent = 0, Opaque = 1 };
enum class ButtonStyle : std::uint8_t { Standard = 0, Graphical = 1 };

// The system colours the window names, by their index in the platform's table.
enum class SystemColour : std::uint8_t { InactiveCaption = 3 };

// Position and size in twips, measured from the client area's top-left corner.
struct Extents {
    std::uint16_t left = 0;
    std::uint16_t top = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    friend bool operator==(const Extents&, const Extents&) = default;
};

// A colour in the window's own form: with the high bit clear an RGB value (red in the low byte);
// with it set, a system colour whose index stands in the low byte.
struct StoredColour {
    std::uint32_t value = 0;

    static constexpr std::uint32_t systemFlag = 0x80000000u;
    static constexpr StoredColour rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        return {std::uint32_t(r) | std::uint32_t(g) << 8 | std::uint32_t(b) << 16};
    }
    static constexpr StoredColour system(std::uint8_t index) { return {systemFlag | index}; }
    static constexpr StoredColour system(SystemColour colour) {
        return system(static_cast<std::uint8_t>(colour));
    }
    constexpr bool isSystem() const { return (value & systemFlag) != 0; }
    constexpr bool is(SystemColour colour) const { return *this == system(colour); }
    constexpr std::uint8_t red() const { return value & 0xFF; }
    constexpr std::uint8_t green() const { return (value >> 8) & 0xFF; }
    constexpr std::uint8_t blue() const { return (value >> 16) & 0xFF; }
    friend bool operator==(const StoredColour&, const StoredColour&) = default;
};

// What a platform without the inactive title bar's system colour (a Linux desktop) shows for it.
inline constexpr StoredColour inactiveCaptionStandIn = StoredColour::rgb(191, 205, 219);

struct FontSpec {
    std::uint8_t version = 1;
    std::uint16_t charset = 0;
    std::uint8_t styleFlags = 0;
    std::uint16_t weight = 400;
    std::uint32_t sizeTenThousandthsPt = 0;
    std::string name; // ASCII
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// One whole image file (a bitmap with its file header, or an icon with its directory). It holds
// its bytes itself, or refers to bytes that last as long as the program: the window read from
// the program's own built-in definition refers to its pictures where they lie, so start-up
// copies none of them.
class ImageFile {
  public:
    ImageFile() = default;
    ImageFile(std::vector<std::uint8_t> bytes) : owned_(std::move(bytes)) {}
    static ImageFile referringTo(std::span<const std::uint8_t> lastingBytes) {
        ImageFile file;
        file.referred_ = lastingBytes;
        file.refers_ = true;
        return file;
    }
    bool refersToLastingBytes() const { return refers_; }
    // Takes a copy of bytes it only referred to, so it no longer depends on them.
    void keepOwnCopy() {
        if (refers_)
            *this = ImageFile(std::vector<std::uint8_t>(referred_.begin(), referred_.end()));
    }

    std::span<const std::uint8_t> bytes() const {
        return refers_ ? referred_ : std::span<const std::uint8_t>(owned_);
    }
    const std::uint8_t* data() const { return bytes().data(); }
    std::size_t size() const { return bytes().size(); }
    bool empty() const { return bytes().empty(); }
    auto begin() const { return bytes().begin(); }
    auto end() const { return bytes().end(); }
    friend bool operator==(const ImageFile& a, const ImageFile& b) {
        return std::ranges::equal(a.bytes(), b.bytes());
    }

  private:
    std::vector<std::uint8_t> owned_;
    std::span<const std::uint8_t> referred_;
    bool refers_ = false;
};

// Settings whose defaults are those of the platform: a reader leaves them as they are here when
// the definition does not store them.
struct ControlModel {
    std::string name;
    std::uint8_t index = 0; // creation index, 1 to 31
    ControlKind kind = ControlKind::Label;
    Extents extents;
    std::optional<std::uint16_t> tabIndex;
    std::string caption; // UTF-8; a label's caption
    std::optional<StoredColour> backColour;
    Border borderStyle = Border::None;
    Alignment alignment = Alignment::Left;
    BackStyle backStyle = BackStyle::Opaque;
    ButtonStyle buttonStyle = ButtonStyle::Standard;
    std::optional<FontSpec> font;
    ImageFile picture;
    bool multiLine = false;
    // A timer's place on the design surface, which it keeps although it shows nothing. Its
    // interval is not stored: the Load handler sets it.
    std::uint32_t timerLeft = 0;
    std::uint32_t timerTop = 0;
    // What a screen reader calls the control: for a button, the words its picture carries. The
    // stored definition has no place for it; the window's design supplies it.
    std::string accessibleName;
    friend bool operator==(const ControlModel&, const ControlModel&) = default;
};

// The client area's place on the screen and its size, in twips.
struct ClientRect {
    std::uint32_t left = 0;
    std::uint32_t top = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    friend bool operator==(const ClientRect&, const ClientRect&) = default;
};

struct FormModel {
    std::string name = "Form1";
    std::string caption; // UTF-8
    std::optional<StoredColour> colour;
    ImageFile background;
    Border borderStyle = Border::Sizable;
    ImageFile icon;
    std::string linkTopic;
    bool minimizeButton = true; // both title-bar buttons are shown by default
    bool maximizeButton = true;
    ClientRect client;
    friend bool operator==(const FormModel&, const FormModel&) = default;
};

struct WindowModel {
    FormModel form;
    std::vector<ControlModel> controls;
    friend bool operator==(const WindowModel&, const WindowModel&) = default;

    const ControlModel* find(std::string_view name) const {
        for (const auto& c : controls)
            if (c.name == name)
                return &c;
        return nullptr;
    }
};

} // namespace zanthera
