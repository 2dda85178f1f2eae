#pragma once

// System functions looked up when first called: those that only newer Windows
// has, and those the programs need only after start-up's first question.
// Importing shell32 and ole32 with the program makes Windows (and Wine,
// markedly) load them and what they pull in before the program's first line
// runs, which delays the first window.

#include <windows.h>

namespace quorvik::platform::win32 {

// The function `name` of the system DLL `dll`, loading it from the system
// folder only; nullptr when either is missing.
template <typename Function>
Function lateBound(const wchar_t* dll, const char* name) {
    HMODULE module = GetModuleHandleW(dll);
    if (module == nullptr) module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module == nullptr) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace quorvik::platform::win32
