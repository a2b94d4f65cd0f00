// The program's texts are UTF-8; Windows' own calls take UTF-16. Texts cross at this boundary, so
// that Arabic captions and non-ASCII names show whatever the system's 8-bit code page is.
#pragma once

#include <string>
#include <string_view>

namespace zanthera::win32 {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

// Whether the text's first letter with a direction of its own is written right to left, so that
// it is laid out as an Arabic paragraph.
bool readsRightToLeft(std::wstring_view text);

} // namespace zanthera::win32
