// quorvik.exe: the native Windows window over the Win32 machine services.

#include <windows.h>

#include "app/win32/form1_window.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_text.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    quorvik::platform::win32::Win32System system;
    // The start-up question is the first thing on screen; the controls are
    // built once it is answered.
    using quorvik::win32::Form1Window;
    Form1Window window(system, nullptr, Form1Window::Controls::AfterStartUpQuestion);
    const bool created = window.create();
    if (created) window.load(Form1Window::Handlers::OnceShown);
    if (!created || window.hwnd() == nullptr) {
        const std::string reason = quorvik::platform::win32::lastErrorText();
        MessageBoxW(
            nullptr,
            quorvik::platform::win32::widen("Quorvik could not open its window: " + reason + ".")
                .c_str(),
            L"Quorvik", MB_ICONERROR);
        return 1;
    }
    window.show(showCommand);
    return window.messageLoop();
}
