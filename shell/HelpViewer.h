// Opens KireloHelp.chm through the HTML Help control, which is found at the first request (from
// its registered class, else by its usual file name) and not linked at build time. Under Wine the
// desktop's browser gets the same pages first (BrowserHelp); the control is the fallback.
#pragma once

#include <windows.h>

#include <string>

#include "shell/BrowserHelp.h"

constexpr char kHtmlHelpClassKey[] =
    "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
constexpr char kHtmlHelpLibrary[] = "hhctrl.ocx";
constexpr char kHelpFileName[] = "KireloHelp.chm";           // Japanese
constexpr char kEnglishHelpFileName[] = "KireloHelpEn.chm";  // every other language

class HelpViewer {
  public:
    // classKey: the key under HKEY_CLASSES_ROOT whose default value names the control;
    // fallbackLibrary: the name tried when that gives nothing.
    explicit HelpViewer(const char* classKey = kHtmlHelpClassKey,
                        const char* fallbackLibrary = kHtmlHelpLibrary);
    HelpViewer(const HelpViewer&) = delete;
    HelpViewer& operator=(const HelpViewer&) = delete;

    // Shows the topic of the help file (null: the one in the user's language), owned by owner.
    // Returns the viewer window, or 0 when the browser took the pages, the control is missing or
    // the file could not be opened.
    HWND Show(HWND owner, const char* file = nullptr);

    // The help file for a resource language (UiText::kJapanese or UiText::kEnglish).
    static const char* FileFor(LANGID language);

    // Finds the control on the first call; later calls answer from the first result.
    bool Load();
    int LoadAttempts() const { return loadAttempts_; }

  private:
    using HtmlHelpProc = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
    HMODULE LoadRegisteredControl() const;

    BrowserHelp browser_;
    bool underWine_;
    std::string classKey_;
    std::string fallbackLibrary_;
    // Kept loaded until the process ends: the viewer's windows run from this module, so it must
    // not be unloaded while one may be open.
    HMODULE module_ = nullptr;
    HtmlHelpProc entry_ = nullptr;
    int loadAttempts_ = 0;
};
