// What screen readers find in the window: the controls in an order that reads as the panel does,
// and names for controls whose system class has none to give.
#pragma once

#include "Form1/WindowModel.h"

#include <windows.h>

#include <string_view>
#include <vector>

struct IAccPropServices;

namespace zanthera::win32 {

// The order the controls are made in, and so their z-order, which is both the dialog manager's
// Tab walk and a screen reader's reading order: rising tab index, except that each caption label,
// which never takes the focus, comes immediately before the value label it names, so that it is
// read first. The Tab walk over the controls that take the focus is unchanged.
std::vector<const ControlModel*> readingOrder(const WindowModel& model);

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
