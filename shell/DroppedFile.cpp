// A dropped name is read wide: DragQueryFileA turns characters outside the system code page into
// '?', which names no file. The loader and kirelo.ini stay ANSI, so such a name goes down as its
// short path instead.
#include "shell/DroppedFile.h"

#include <cstring>

namespace {
// The exact ANSI form, or empty when a character has no place in the system code page.
std::string ExactAnsi(const std::wstring& path) {
    if (path.empty()) {
        return std::string();
    }
    BOOL lost = FALSE;
    const int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.c_str(), -1, nullptr,
                                          0, nullptr, &lost);
    if (bytes <= 0 || lost) {
        return std::string();
    }
    std::string ansi(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.c_str(), -1, &ansi[0], bytes, nullptr,
                        &lost);
    ansi.resize(static_cast<size_t>(bytes) - 1);
    return lost ? std::string() : ansi;
}

std::wstring ShortPath(const std::wstring& path) {
    const DWORD needed = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (needed == 0) {
        return std::wstring();
    }
    std::wstring shortPath(needed, L'\0');
    const DWORD length = GetShortPathNameW(path.c_str(), &shortPath[0], needed);
    if (length == 0 || length >= needed) {
        return std::wstring();
    }
    shortPath.resize(length);
    return shortPath;
}
}  // namespace

std::string AnsiPathFor(const std::wstring& path) {
    std::string ansi = ExactAnsi(path);
    return ansi.empty() ? ExactAnsi(ShortPath(path)) : ansi;
}

bool DroppedFileName(HDROP drop, char* name, size_t bytes) {
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    if (length == 0 || bytes == 0) {
        return false;
    }
    std::wstring wide(length + 1, L'\0');
    if (DragQueryFileW(drop, 0, &wide[0], length + 1) != length) {
        return false;
    }
    wide.resize(length);
    const std::string ansi = AnsiPathFor(wide);
    if (ansi.empty()) {
        return false;
    }
    // A name longer than the buffer is cut to it, as DragQueryFileA does; the loader then
    // reports the file it cannot open.
    const size_t kept = ansi.size() < bytes ? ansi.size() : bytes - 1;
    std::memcpy(name, ansi.data(), kept);
    name[kept] = '\0';
    return true;
}
