#include "Accessibility.h"

#include "SystemCalls.h"

#include <initguid.h>

#include <oleacc.h>

#include <algorithm>
#include <string>

namespace zanthera::win32 {

namespace {

// COM's calls, from ole32 loaded when a name is first given rather than with the program: the
// window's start does not wait for it. ole32 is one of Windows' known DLLs, always the system's.
struct Com {
    HMODULE ole = loadSystemLibrary(L"ole32.dll");
    decltype(&CoInitializeEx) initialize = systemCall<decltype(initialize)>(ole, "CoInitializeEx");
    decltype(&CoCreateInstance) createInstance =
        systemCall<decltype(createInstance)>(ole, "CoCreateInstance");
    decltype(&CoUninitialize) uninitialize =
        systemCall<decltype(uninitialize)>(ole, "CoUninitialize");
};

const Com& com() {
    static const Com calls;
    return calls;
}

} // namespace

AccessibleNames::~AccessibleNames() {
    clear();
    if (services_)
        services_->Release();
    if (comStarted_)
        com().uninitialize();
}

HRESULT AccessibleNames::name(HWND control, std::wstring_view text) {
    if (!services_) {
        if (!com().initialize || !com().createInstance || !com().uninitialize)
            return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
        const HRESULT started = com().initialize(nullptr, COINIT_APARTMENTTHREADED);
        // Started already on this thread, in this mode or another: usable all the same.
        comStarted_ = SUCCEEDED(started);
        if (FAILED(started) && started != RPC_E_CHANGED_MODE)
            return started;
        const HRESULT made =
            com().createInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_IAccPropServices, reinterpret_cast<void**>(&services_));
        if (FAILED(made)) {
            services_ = nullptr;
            return made;
        }
    }
    const std::wstring owned(text);
    const HRESULT named = services_->SetHwndPropStr(control, DWORD(OBJID_CLIENT), CHILDID_SELF,
                                                    PROPID_ACC_NAME, owned.c_str());
    if (SUCCEEDED(named))
        named_.push_back(control);
    return named;
}

void AccessibleNames::clear() {
    MSAAPROPID name = PROPID_ACC_NAME;
    for (HWND control : named_)
        if (services_ && IsWindow(control))
            services_->ClearHwndProps(control, DWORD(OBJID_CLIENT), CHILDID_SELF, &name, 1);
    named_.clear();
}

} // namespace zanthera::win32
