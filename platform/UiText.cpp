// Texts are looked up with FindResourceEx on an exact language: LoadString and LoadMenu would
// take whichever language the platform's own fallback finds first, which under Wine follows the
// thread and not only the user.
#include "platform/UiText.h"

namespace {
// A string table resource holds 16 strings, each a length (in UTF-16 units) and its units.
constexpr uint32_t kStringsPerBlock = 16;

const void* FindData(HMODULE module, LPCWSTR type, LPCWSTR name, LANGID language) {
    if (module == nullptr) {
        module = GetModuleHandleW(nullptr);
    }
    HRSRC found = FindResourceExW(module, type, name, language);
    if (found == nullptr) {
        return nullptr;
    }
    HGLOBAL data = LoadResource(module, found);
    return data != nullptr ? LockResource(data) : nullptr;
}
}  // namespace

LANGID UiText::LanguageFor(LANGID uiLanguage) {
    return PRIMARYLANGID(uiLanguage) == LANG_JAPANESE ? kJapanese : kEnglish;
}

LANGID UiText::Chosen() {
    return LanguageFor(GetUserDefaultUILanguage());
}

std::wstring UiText::Text(uint32_t id, LANGID language) {
    const auto* units =
        static_cast<const WCHAR*>(FindData(nullptr, MAKEINTRESOURCEW(6) /* RT_STRING */,
                                           MAKEINTRESOURCEW(id / kStringsPerBlock + 1), language));
    if (units == nullptr) {
        return std::wstring();
    }
    for (uint32_t i = 0; i < id % kStringsPerBlock; ++i) {
        units += 1 + *units;
    }
    return std::wstring(units + 1, *units);
}

HMENU UiText::Menu(uint32_t id, LANGID language, HMODULE module) {
    const void* menu =
        FindData(module, MAKEINTRESOURCEW(4) /* RT_MENU */, MAKEINTRESOURCEW(id), language);
    return menu != nullptr ? LoadMenuIndirectW(menu) : nullptr;
}
