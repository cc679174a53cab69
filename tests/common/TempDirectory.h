// A fresh directory under the temporary directory for one test, made current while it lives if
// asked to; the previous working directory is restored and the whole tree removed when it goes.
#pragma once

#include <windows.h>

#include <string>

class TempDirectory {
  public:
    TempDirectory(const wchar_t* prefix, bool makeCurrent) {
        wchar_t previous[MAX_PATH] = {};
        GetCurrentDirectoryW(MAX_PATH, previous);
        previous_ = previous;
        wchar_t base[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, base);
        static int counter = 0;
        do {
            wide_ = base + std::wstring(prefix) + std::to_wstring(GetCurrentProcessId()) + L"-" +
                    std::to_wstring(++counter);
        } while (!CreateDirectoryW(wide_.c_str(), nullptr));
        char narrow[MAX_PATH] = {};
        WideCharToMultiByte(CP_ACP, 0, wide_.c_str(), -1, narrow, MAX_PATH, nullptr, nullptr);
        path_ = narrow;
        if (makeCurrent) {
            SetCurrentDirectoryW(wide_.c_str());
        }
    }
    ~TempDirectory() {
        SetCurrentDirectoryW(previous_.c_str());
        RemoveTree(wide_);
    }
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::string& path() const { return path_; }
    const std::wstring& wide() const { return wide_; }

  private:
    // Wide throughout: the tests leave names behind that the ANSI code page cannot hold.
    static void RemoveTree(const std::wstring& dir) {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((dir + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = found.cFileName;
                if (name == L"." || name == L"..") {
                    continue;
                }
                const std::wstring path = dir + L"\\" + name;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTree(path);
                } else {
                    DeleteFileW(path.c_str());
                }
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(dir.c_str());
    }

    std::wstring previous_;
    std::wstring wide_;
    std::string path_;
};
