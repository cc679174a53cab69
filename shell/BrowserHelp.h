// Help under Wine: the same pages as HTML files in a folder beside the help file, handed to the
// Linux desktop's own browser through winebrowser, which Wine ships in every prefix.
#pragma once

#include <windows.h>

#include <string>

class BrowserHelp {
  public:
    // launcher: the program that hands a file to the desktop (winebrowser.exe in the system
    // folder when null).
    explicit BrowserHelp(const wchar_t* launcher = nullptr);
    BrowserHelp(const BrowserHelp&) = delete;
    BrowserHelp& operator=(const BrowserHelp&) = delete;

    // True when the program runs under Wine (ntdll exports wine_get_version).
    static bool UnderWine();
    // The index page for a help file: "KireloHelp.chm" gives "KireloHelp\index.html", resolved
    // against the working directory like the help file itself.
    static std::wstring IndexPageFor(const char* helpFile);

    // Hands the index page of helpFile to the launcher. False when the page is missing, the
    // launcher cannot start or reports that no browser took the page.
    bool Open(const char* helpFile) const;

  private:
    std::wstring launcher_;
};
