// The run-time lookup of HtmlHelpA (ordinal 14 of the control).
#include "shell/HelpViewer.h"

#include "platform/UiText.h"
#include "platform/UniqueHandle.h"

namespace {
constexpr WORD kHtmlHelpAOrdinal = 14;
constexpr UINT kDisplayTopic = 0;  // HH_DISPLAY_TOPIC

// The key at path under root, opened for reading; empty when it cannot be opened.
UniqueRegKey OpenKey(HKEY root, const char* path) {
    HKEY key = nullptr;
    return UniqueRegKey(RegOpenKeyExA(root, path, 0, KEY_READ, &key) == ERROR_SUCCESS ? key
                                                                                      : nullptr);
}
}  // namespace

HelpViewer::HelpViewer(const char* classKey, const char* fallbackLibrary)
    : underWine_(BrowserHelp::UnderWine()),
      classKey_(classKey != nullptr ? classKey : ""),
      fallbackLibrary_(fallbackLibrary != nullptr ? fallbackLibrary : "") {}

HMODULE HelpViewer::LoadRegisteredControl() const {
    const UniqueRegKey key = OpenKey(HKEY_CLASSES_ROOT, classKey_.c_str());
    if (key.get() == nullptr) {
        return nullptr;
    }
    char path[MAX_PATH + 1] = {};
    DWORD type = 0;
    DWORD size = MAX_PATH;  // one byte short of the buffer: a value without terminator still ends
    if (RegQueryValueExA(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(path),
                         &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return nullptr;
    }
    if (type == REG_EXPAND_SZ) {
        char expanded[MAX_PATH] = {};
        const DWORD length = ExpandEnvironmentStringsA(path, expanded, MAX_PATH);
        if (length == 0 || length > MAX_PATH) {
            return nullptr;
        }
        return LoadLibraryA(expanded);
    }
    return path[0] != '\0' ? LoadLibraryA(path) : nullptr;
}

bool HelpViewer::Load() {
    if (loadAttempts_ > 0) {
        return entry_ != nullptr;
    }
    ++loadAttempts_;
    module_ = LoadRegisteredControl();
    if (module_ == nullptr && !fallbackLibrary_.empty()) {
        module_ = LoadLibraryA(fallbackLibrary_.c_str());
    }
    if (module_ != nullptr) {
        entry_ = reinterpret_cast<HtmlHelpProc>(
            reinterpret_cast<void*>(GetProcAddress(module_, MAKEINTRESOURCEA(kHtmlHelpAOrdinal))));
    }
    return entry_ != nullptr;
}

const char* HelpViewer::FileFor(LANGID language) {
    return language == UiText::kJapanese ? kHelpFileName : kEnglishHelpFileName;
}

HWND HelpViewer::Show(HWND owner, const char* file) {
    if (file == nullptr) {
        file = FileFor(UiText::Chosen());
    }
    if (underWine_ && browser_.Open(file)) {
        return nullptr;
    }
    if (!Load()) {
        return nullptr;
    }
    return entry_(owner, file, kDisplayTopic, 0);
}
