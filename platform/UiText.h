// The program's texts and its menu in the user's language: Japanese for a Japanese UI language,
// English for every other. Read from the resources of the program's own module by language, so
// the choice does not hang on how the platform falls back between resource languages.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class UiText {
  public:
    static constexpr LANGID kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);   // 1041
    static constexpr LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);  // 1033

    // The resource language for a UI language.
    static LANGID LanguageFor(LANGID uiLanguage);
    // The resource language for this user (under Wine: from the locale, LANG / LC_MESSAGES).
    static LANGID Chosen();

    // The text with this id in language; empty when the module holds none.
    static std::wstring Text(uint32_t id, LANGID language = Chosen());
    // The menu with this id in language, from module (null: the program's own); null when the
    // module holds none. The caller owns it.
    static HMENU Menu(uint32_t id, LANGID language = Chosen(), HMODULE module = nullptr);
};
