#include "platform/win32/win32_system.h"

#include <windows.h>
// windows.h first: the shell's headers build on it.
#include <knownfolders.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "platform/paths.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/late_bound.h"
#include "platform/win32/win32_text.h"

namespace quorvik::platform::win32 {
namespace {

// winerror.h of some toolchains lacks it.
constexpr DWORD kElevationRequired = 740;  // ERROR_ELEVATION_REQUIRED

// Windows' ransomware protection turns away programs it does not know from the
// Documents folder with a plain "access denied"; the player needs to know
// where to let Quorvik in.
constexpr const char* kFolderAccessHint =
    " (Windows' ransomware protection, Controlled folder access, may be blocking Quorvik: "
    "allow quorvik.exe under Windows Security > Virus & threat protection > Manage ransomware "
    "protection > Allow an app through Controlled folder access)";

// A file another program holds open without sharing it cannot be replaced;
// Windows says "access denied" for that too.
constexpr const char* kHeldOpenHint =
    " (another program, perhaps the game, has the file open: close it and try again)";

// Whether another program holds the file open so that it cannot be deleted or
// replaced: asked by opening it for deletion while sharing everything.
bool heldOpen(const fs::path& path) {
    const HANDLE file =
        CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(file);
    return false;
}

}  // namespace

Status withFolderAccessHint(Status status, unsigned long error, const fs::path& path,
                            const std::optional<fs::path>& documents) {
    if (status) return status;
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
        (error == ERROR_ACCESS_DENIED && heldOpen(path))) {
        return Status::failure(status.reason() + kHeldOpenHint);
    }
    if (error != ERROR_ACCESS_DENIED || !documents || !isInside(path, *documents)) return status;
    return Status::failure(status.reason() + kFolderAccessHint);
}

bool Win32System::fileExists(const fs::path& path) {
    return win32::fileExists(path);
}

bool Win32System::folderExists(const fs::path& path) {
    return win32::folderExists(path);
}

bool Win32System::isLink(const fs::path& path) {
    return win32::isLink(path);
}

ReadResult Win32System::readFile(const fs::path& path, std::uintmax_t maxBytes) {
    return win32::readFile(path, maxBytes);
}

Expected<StagedFile> Win32System::stageFile(const fs::path& path, std::string_view bytes,
                                            WriteOptions options) {
    unsigned long error = 0;
    Expected<StagedFile> staged = win32::stageFile(path, bytes, options, &error);
    if (staged) return staged;
    Problem problem = staged.problem();
    problem.reason = withFolderAccessHint(problem, error, path, documentsFolder()).reason();
    return problem;
}

Status Win32System::commitFile(const StagedFile& staged) {
    unsigned long error = 0;
    Status committed = win32::commitFile(staged, &error);
    if (committed) return committed;
    return withFolderAccessHint(std::move(committed), error, staged.target, documentsFolder());
}

void Win32System::discardFile(const StagedFile& staged) {
    win32::discardFile(staged);
}

Status Win32System::setReadOnly(const fs::path& path, bool readOnly) {
    return win32::setReadOnly(path, readOnly);
}

Status Win32System::deleteFile(const fs::path& path) {
    unsigned long error = 0;
    Status deleted = win32::deleteFile(path, &error);
    if (deleted) return deleted;
    return withFolderAccessHint(std::move(deleted), error, path, documentsFolder());
}

std::vector<fs::path> Win32System::listFolder(const fs::path& folder) {
    return win32::listFolder(folder);
}

Status Win32System::createFolder(const fs::path& folder) {
    unsigned long error = 0;
    Status created = win32::createFolder(folder, &error);
    if (created) return created;
    return withFolderAccessHint(std::move(created), error, folder, documentsFolder());
}

Status Win32System::removeFolder(const fs::path& folder) {
    unsigned long error = 0;
    Status removed = win32::removeFolder(folder, &error);
    if (removed) return removed;
    return withFolderAccessHint(std::move(removed), error, folder, documentsFolder());
}

Expected<std::unique_ptr<FolderLock>> Win32System::tryLock(const fs::path& lockFile) {
    unsigned long error = 0;
    Expected<std::unique_ptr<FolderLock>> lock = win32::tryLock(lockFile, &error);
    if (lock) return lock;
    Problem problem = lock.problem();
    problem.reason = withFolderAccessHint(problem, error, lockFile, documentsFolder()).reason();
    return problem;
}

std::string Win32System::localTime() {
    return win32::localTime();
}

void Win32System::pause(std::chrono::milliseconds duration) {
    if (duration.count() > 0)
        Sleep(static_cast<DWORD>(std::min<long long>(duration.count(), INFINITE - 1)));
}

namespace {

// A folder the shell knows, as it reports it.
std::optional<fs::path> knownFolder(const KNOWNFOLDERID& id) {
    static const auto folderPath =
        lateBound<decltype(&SHGetKnownFolderPath)>(L"shell32.dll", "SHGetKnownFolderPath");
    static const auto freeMemory =
        lateBound<decltype(&CoTaskMemFree)>(L"ole32.dll", "CoTaskMemFree");
    if (folderPath == nullptr || freeMemory == nullptr) return std::nullopt;
    PWSTR folder = nullptr;
    const HRESULT result = folderPath(id, 0, nullptr, &folder);
    std::optional<fs::path> found;
    if (SUCCEEDED(result) && folder != nullptr && *folder != L'\0') found = fs::path(folder);
    // The shell allocates the text even when the call fails.
    freeMemory(folder);
    return found;
}

}  // namespace

std::optional<fs::path> Win32System::configFolder() {
    const auto roaming = knownFolder(FOLDERID_RoamingAppData);
    if (!roaming) return std::nullopt;
    return *roaming / L"Quorvik";
}

std::optional<fs::path> Win32System::documentsFolder() {
    return knownFolder(FOLDERID_Documents);
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
    const std::wstring folder = request.workingFolder.wstring();

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        const DWORD error = GetLastError();
        // A game whose manifest asks for an administrator starts only through
        // the shell, which asks the player for consent.
        if (error == kElevationRequired) return startElevated(request);
        return Status::failure(errorText(error));
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return Status::success();
}

Status startElevated(const LaunchRequest& request) {
    const CommandLineParts parts = splitCommandLine(request.commandLine);
    const std::wstring program =
        request.program.empty() ? widen(parts.program) : request.program.wstring();
    const std::wstring parameters = widen(parts.arguments);
    const std::wstring folder = request.workingFolder.wstring();
    SHELLEXECUTEINFOW execute{};
    execute.cbSize = sizeof execute;
    execute.fMask = SEE_MASK_NOASYNC;
    execute.lpVerb = L"runas";
    execute.lpFile = program.c_str();
    execute.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    execute.lpDirectory = folder.empty() ? nullptr : folder.c_str();
    execute.nShow = SW_SHOWNORMAL;
    static const auto shellExecute =
        lateBound<decltype(&ShellExecuteExW)>(L"shell32.dll", "ShellExecuteExW");
    if (shellExecute == nullptr) return Status::failure("Windows' shell is not available");
    if (!shellExecute(&execute)) {
        const DWORD error = GetLastError();
        if (error == ERROR_CANCELLED) {
            return Status::failure("it needs administrator rights, which were not given");
        }
        return Status::failure(errorText(error));
    }
    return Status::success();
}

CommandLineParts splitCommandLine(std::string_view commandLine) {
    std::size_t end = 0;
    CommandLineParts parts;
    if (!commandLine.empty() && commandLine.front() == '"') {
        end = commandLine.find('"', 1);
        if (end == std::string_view::npos) end = commandLine.size();
        parts.program = std::string(commandLine.substr(1, end - 1));
        if (end < commandLine.size()) ++end;
    } else {
        end = std::min(commandLine.find(' '), commandLine.size());
        parts.program = std::string(commandLine.substr(0, end));
    }
    const std::size_t rest = commandLine.find_first_not_of(' ', end);
    if (rest != std::string_view::npos) parts.arguments = std::string(commandLine.substr(rest));
    return parts;
}

}  // namespace quorvik::platform::win32
