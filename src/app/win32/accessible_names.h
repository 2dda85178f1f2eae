#pragma once

// Names and descriptions that screen readers read for the window's inputs,
// given through Windows' dynamic annotation (the accessibility property
// service). A text box or drop-down is also named by the label just before it
// in the z-order; a check box has no caption of its own and only this names it.
// Where the service is missing, the window works as before, unnamed.

#include <windows.h>

#include <string>
#include <vector>

struct IAccPropServices;

namespace quorvik::win32 {

class AccessibleNames {
public:
    AccessibleNames() = default;
    ~AccessibleNames();
    AccessibleNames(const AccessibleNames&) = delete;
    AccessibleNames& operator=(const AccessibleNames&) = delete;

    // Gives `control` its name and (when not empty) its description; false
    // when the service refused.
    bool name(HWND control, const std::wstring& name, const std::wstring& description);
    // Takes every annotation back: the window's controls are about to go.
    void clear();

private:
    bool start();

    IAccPropServices* services_ = nullptr;
    bool comStarted_ = false;
    bool tried_ = false;
    std::vector<HWND> named_;
};

}  // namespace quorvik::win32
