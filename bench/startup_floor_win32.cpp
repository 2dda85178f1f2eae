// The floor for the Windows program's start-up: the least a Win32 program does
// to ask a question, a message box with Yes and No and nothing before it. It
// stays until answered; the start-up measure times its box's appearance under
// Wine against quorvik.exe's start-up question.

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    MessageBoxW(nullptr, L"Would you like to try and automatically detect settings path?",
                L"Quorvik", MB_YESNO | MB_ICONQUESTION);
    return 0;
}
