#include "platform/win32/win32_system.h"

#include <windows.h>
// windows.h first: the shell's headers build on it.
#include <knownfolders.h>
#include <shlobj.h>

#include <vector>

#include "platform/paths.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_text.h"

namespace quorvik::platform::win32 {

bool Win32System::fileExists(const fs::path& path) {
    return win32::fileExists(path);
}

bool Win32System::folderExists(const fs::path& path) {
    return win32::folderExists(path);
}

ReadResult Win32System::readFile(const fs::path& path, std::uintmax_t maxBytes) {
    return win32::readFile(path, maxBytes);
}

Status Win32System::writeFile(const fs::path& path, std::string_view bytes) {
    return writeFileAtomic(path, bytes);
}

Status Win32System::setReadOnly(const fs::path& path, bool readOnly) {
    return win32::setReadOnly(path, readOnly);
}

Status Win32System::deleteFile(const fs::path& path) {
    return win32::deleteFile(path);
}

std::optional<fs::path> Win32System::documentsFolder() {
    PWSTR folder = nullptr;
    const HRESULT result = SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &folder);
    std::optional<fs::path> documents;
    if (SUCCEEDED(result) && folder != nullptr && *folder != L'\0') documents = fs::path(folder);
    // The shell allocates the text even when the call fails.
    CoTaskMemFree(folder);
    return documents;
}

const CodePage& Win32System::codePage() const {
    return ansiCodePage();
}

fs::path Win32System::nativePath(std::string_view utf8) {
    return pathFromUtf8(utf8);
}

Status Win32System::startProgram(const LaunchRequest& request) {
    if (request.commandLine.empty()) return Status::failure("there is no command line to start");
    // CreateProcessW may write into the command line, so it gets a copy of its own.
    const std::wstring line = widen(request.commandLine);
    std::vector<wchar_t> commandLine(line.begin(), line.end());
    commandLine.push_back(L'\0');

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return Status::failure(lastErrorText());
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return Status::success();
}

}  // namespace quorvik::platform::win32
