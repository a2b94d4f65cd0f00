// The Arabic face the program draws its Arabic texts in: the same cut of Noto Sans Arabic as the
// Linux program's, carried in the program file and installed for this process alone, so that
// every Windows, whatever fonts it has or substitutes, shows the captions as designed.
#pragma once

#include <windows.h>

#include <string_view>

namespace zanthera::win32 {

inline constexpr wchar_t arabicFamily[] = L"Noto Sans Arabic";

class PrivateArabicFont {
  public:
    // Installs the face from `module`'s resources; nothing when the module carries none.
    explicit PrivateArabicFont(HINSTANCE module);
    ~PrivateArabicFont();
    PrivateArabicFont(const PrivateArabicFont&) = delete;
    PrivateArabicFont& operator=(const PrivateArabicFont&) = delete;

    bool installed() const { return handle_ != nullptr; }

  private:
    HANDLE handle_ = nullptr;
};

// The program's Arabic face at the size and weight of `interfaceFont`. Its character set is left
// to the face: asked for the interface font's Western set, which the cut lacks, Windows would
// choose another face.
LOGFONTW arabicFace(LOGFONTW interfaceFont);

// Whether `font` has a glyph of its own for every character of `text`: the cut holds the Arabic
// letters, digits and punctuation, not the Latin letters of, say, an English time or month.
bool covers(HDC dc, HFONT font, std::wstring_view text);

} // namespace zanthera::win32
