// The HTML Help viewer needs an HTML engine that an offline Wine prefix lacks and shows empty
// pages there; the user's own browser shows the same pages from plain files.
#include "shell/BrowserHelp.h"

#include "platform/UniqueHandle.h"
#include "platform/WideText.h"

namespace {
// winebrowser returns at once after starting the desktop's opener; a slower answer is taken as
// a browser on its way.
constexpr DWORD kLauncherWaitMs = 3000;
constexpr wchar_t kIndexPage[] = L"\\index.html";

std::wstring SystemLauncher() {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return L"winebrowser.exe";
    }
    return std::wstring(folder) + L"\\winebrowser.exe";
}

bool IsFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}
}  // namespace

BrowserHelp::BrowserHelp(const wchar_t* launcher)
    : launcher_(launcher != nullptr ? launcher : SystemLauncher()) {}

bool BrowserHelp::UnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::wstring BrowserHelp::IndexPageFor(const char* helpFile) {
    std::wstring folder = WideFromCp932(helpFile);
    const size_t dot = folder.find_last_of(L'.');
    if (dot != std::wstring::npos && folder.find_first_of(L"\\/", dot) == std::wstring::npos) {
        folder.resize(dot);
    }
    if (folder.empty()) {
        return std::wstring();
    }
    const std::wstring relative = folder + kIndexPage;
    const DWORD needed = GetFullPathNameW(relative.c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        return std::wstring();
    }
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(relative.c_str(), needed, &full[0], nullptr);
    if (length == 0 || length >= needed) {
        return std::wstring();
    }
    full.resize(length);
    return full;
}

bool BrowserHelp::Open(const char* helpFile) const {
    const std::wstring page = IndexPageFor(helpFile);
    if (page.empty() || !IsFile(page)) {
        return false;
    }
    std::wstring commandLine = L"\"" + launcher_ + L"\" \"" + page + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(launcher_.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        return false;
    }
    UniqueKernelHandle thread(process.hThread);
    UniqueKernelHandle launcher(process.hProcess);
    if (WaitForSingleObject(launcher.get(), kLauncherWaitMs) != WAIT_OBJECT_0) {
        return true;
    }
    DWORD exitCode = 1;
    return GetExitCodeProcess(launcher.get(), &exitCode) && exitCode == 0;
}
