// Names for screen readers, for the controls whose system class has none to give. The order they
// read the controls in is the window's reading order (Form1/WindowChoices.h), which the engine
// makes the controls in.
#pragma once

#include <windows.h>

#include <string_view>
#include <vector>

struct IAccPropServices;

namespace zanthera::win32 {

// Names given to controls through the accessibility runtime's annotations (oleacc, Windows 7 and
// later), for a control whose own text is not its name, such as an edit box. COM is started on
// the window's thread for as long as this lives; the names are cleared before the window goes.
class AccessibleNames {
  public:
    AccessibleNames() = default;
    AccessibleNames(const AccessibleNames&) = delete;
    AccessibleNames& operator=(const AccessibleNames&) = delete;
    ~AccessibleNames();

    // The result of the annotation call: S_OK, or why the control has no name now.
    HRESULT name(HWND control, std::wstring_view text);
    // Takes every name given back; to be called while the controls still exist.
    void clear();

  private:
    IAccPropServices* services_ = nullptr;
    bool comStarted_ = false;
    std::vector<HWND> named_;
};

} // namespace zanthera::win32
