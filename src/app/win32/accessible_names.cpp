#include "app/win32/accessible_names.h"

#include <initguid.h>
// initguid.h first: the service's class and property ids are defined here.
#include <oleacc.h>

#include <iterator>

#include "platform/win32/late_bound.h"

namespace quorvik::win32 {

AccessibleNames::~AccessibleNames() {
    clear();
    if (services_ != nullptr) services_->Release();
    if (comStarted_) {
        static const auto uninitialize =
            platform::win32::lateBound<decltype(&CoUninitialize)>(L"ole32.dll", "CoUninitialize");
        uninitialize();
    }
}

bool AccessibleNames::start() {
    if (tried_) return services_ != nullptr;
    tried_ = true;
    // The window's thread is a single-threaded apartment, as every UI thread is;
    // a caller that made it something else keeps its choice.
    using platform::win32::lateBound;
    static const auto initialize =
        lateBound<decltype(&CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
    static const auto create =
        lateBound<decltype(&CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
    if (initialize == nullptr || create == nullptr) return false;
    const HRESULT com = initialize(nullptr, COINIT_APARTMENTTHREADED);
    comStarted_ = SUCCEEDED(com);
    const HRESULT made = create(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void**>(&services_));
    if (FAILED(made)) services_ = nullptr;
    return services_ != nullptr;
}

bool AccessibleNames::name(HWND control, const std::wstring& name,
                           const std::wstring& description) {
    if (control == nullptr || !start()) return false;
    HRESULT result = services_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT),
                                               CHILDID_SELF, PROPID_ACC_NAME, name.c_str());
    if (SUCCEEDED(result) && !description.empty()) {
        result = services_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                           PROPID_ACC_DESCRIPTION, description.c_str());
    }
    if (SUCCEEDED(result)) named_.push_back(control);
    return SUCCEEDED(result);
}

void AccessibleNames::clear() {
    if (services_ == nullptr) return;
    const MSAAPROPID properties[] = {PROPID_ACC_NAME, PROPID_ACC_DESCRIPTION};
    for (HWND control : named_) {
        services_->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                  properties, static_cast<int>(std::size(properties)));
    }
    named_.clear();
}

}  // namespace quorvik::win32
