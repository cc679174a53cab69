// CP932 to UTF-16 through MultiByteToWideChar, with code page 932 named explicitly: under a
// Western system code page (1252) the ANSI calls would turn every Japanese text into mojibake.
#include "platform/WideText.h"

#include <windows.h>

namespace {
constexpr UINT kJapaneseCodePage = 932;
}  // namespace

std::wstring WideFromCp932(const char* text) {
    if (text == nullptr || text[0] == '\0') {
        return std::wstring();
    }
    const int length =
        MultiByteToWideChar(kJapaneseCodePage, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
    if (length <= 0) {
        return std::wstring();
    }
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(kJapaneseCodePage, MB_ERR_INVALID_CHARS, text, -1, &wide[0], length);
    wide.resize(static_cast<size_t>(length) - 1);  // the terminator the call wrote
    return wide;
}
