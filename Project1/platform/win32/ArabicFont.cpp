#include "ArabicFont.h"

#include "GdiObjects.h"

#include <algorithm>
#include <vector>

namespace zanthera::win32 {

PrivateArabicFont::PrivateArabicFont(HINSTANCE module) {
    const HRSRC found = FindResourceW(module, L"ZANTHERA_ARABIC_FONT", RT_RCDATA);
    const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return;
    // Private to this process and gone with it: nothing is installed on the system.
    DWORD faces = 0;
    handle_ = AddFontMemResourceEx(bytes, SizeofResource(module, found), nullptr, &faces);
    if (handle_ && faces == 0) {
        RemoveFontMemResourceEx(handle_);
        handle_ = nullptr;
    }
}

PrivateArabicFont::~PrivateArabicFont() {
    if (handle_)
        RemoveFontMemResourceEx(handle_);
}

LOGFONTW arabicFace(LOGFONTW interfaceFont) {
    std::copy(std::begin(arabicFamily), std::end(arabicFamily), interfaceFont.lfFaceName);
    interfaceFont.lfCharSet = DEFAULT_CHARSET;
    return interfaceFont;
}

bool covers(HDC dc, HFONT font, std::wstring_view text) {
    if (!font || text.empty())
        return false;
    std::vector<WORD> glyphs(text.size());
    const Selection selected(dc, font);
    const DWORD done = GetGlyphIndicesW(dc, text.data(), int(text.size()), glyphs.data(),
                                        GGI_MARK_NONEXISTING_GLYPHS);
    return done == text.size() && std::find(glyphs.begin(), glyphs.end(), 0xFFFF) == glyphs.end();
}

} // namespace zanthera::win32
