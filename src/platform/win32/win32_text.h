#pragma once

// Text at the edge of the wide-character Windows calls: UTF-8 inside the tool,
// UTF-16 (wchar_t) for the system, and the system's own words for its errors.

#include <string>
#include <string_view>

#include "platform/text_codec.h"

namespace quorvik::platform::win32 {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view wide);

// The system's description of an error code, without the closing full stop and
// line break, so that callers can put it inside a sentence; "Windows error N"
// when the system has no text for it.
std::string errorText(unsigned long code);
// errorText of GetLastError().
std::string lastErrorText();

// The system's ANSI code page number: the one programs without a manifest of
// their own, the game among them, get for their 8-bit calls.
unsigned int systemCodePage();
// That code page, the one the game's files use.
const CodePage& ansiCodePage();

}  // namespace quorvik::platform::win32
