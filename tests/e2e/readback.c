/* The texts another program shows, for the end-to-end tests.
     readback.exe box OUT          the caption and the text of the first visible message box (class
                                   #32770), read back as wide text, a line each in UTF-8 into OUT
     readback.exe menu X Y ITEMS   shows a popup menu at (X, Y) made of ITEMS ('|' between items,
                                   an empty one a separator, a trailing '>' a submenu), until the
                                   process is ended: the program's own menu is read against it by
                                   the screen's pixels (another process's menu items cannot be
                                   read through the API under Wine) */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static BOOL CALLBACK first_box(HWND window, LPARAM file) {
    wchar_t name[32] = {0}, text[512] = {0};
    char utf8[1024];
    int i;
    GetClassNameW(window, name, 32);
    if (!IsWindowVisible(window) || wcscmp(name, L"#32770") != 0) return TRUE;
    for (i = 0; i < 2; ++i) {
        text[0] = 0;
        /* the caption, then the box's static text */
        GetWindowTextW(i == 0 ? window : GetDlgItem(window, 0xFFFF), text, 512);
        if (WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, NULL, NULL) <= 0) utf8[0] = 0;
        fprintf((FILE *)file, "%s\n", utf8);
    }
    return FALSE;
}

static int show_menu(int x, int y) {
    /* the wide command line: the ANSI one is in the system's code page */
    int argc = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &argc), *item, *next;
    HMENU menu = CreatePopupMenu();
    HWND owner = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, NULL, NULL,
                                 GetModuleHandleW(NULL), NULL);
    UINT id = 1;
    for (item = argc > 4 ? argv[4] : NULL; item; item = next) {
        size_t n;
        next = wcschr(item, L'|');
        if (next) *next++ = 0;
        n = wcslen(item);
        if (n == 0) {
            AppendMenuW(menu, MF_SEPARATOR, 0, NULL);
        } else if (item[n - 1] == L'>') {
            item[n - 1] = 0;
            AppendMenuW(menu, MF_POPUP, (UINT_PTR)CreatePopupMenu(), item);
        } else {
            AppendMenuW(menu, MF_STRING, id++, item);
        }
    }
    SetForegroundWindow(owner);
    for (;;) TrackPopupMenu(menu, TPM_RIGHTBUTTON, x, y, 0, owner, NULL);
}

int main(int argc, char **argv) {
    if (argc == 3 && strcmp(argv[1], "box") == 0) {
        FILE *out = fopen(argv[2], "wb");
        if (!out) return 1;
        EnumWindows(first_box, (LPARAM)out);
        fclose(out);
        return 0;
    }
    if (argc == 5 && strcmp(argv[1], "menu") == 0) return show_menu(atoi(argv[2]), atoi(argv[3]));
    return 2;
}
