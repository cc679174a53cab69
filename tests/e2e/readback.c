/* Reads back, as wide text, what another program shows: the caption and text of its message box,
   or the items of its open menus (in UTF-8, into the file named last).
     readback.exe box OUT      the first visible message box (class #32770)
     readback.exe menu OUT     every visible menu window (class #32768): a line of its items
                              in order, joined by '|' (a separator is empty) */
#include <windows.h>
#include <stdio.h>
#include <string.h>

static FILE *out;

static void put(const wchar_t *text, const char *end) {
    char utf8[1024];
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, NULL, NULL);
    fprintf(out, "%s%s", n > 0 ? utf8 : "", end);
}

static BOOL CALLBACK each(HWND window, LPARAM wantMenu) {
    wchar_t name[32] = {0}, text[512] = {0};
    GetClassNameW(window, name, 32);
    if (!IsWindowVisible(window)) return TRUE;
    if (!wantMenu && wcscmp(name, L"#32770") == 0) {
        GetWindowTextW(window, text, 512);
        put(text, "\n");
        text[0] = 0;
        GetWindowTextW(GetDlgItem(window, 0xFFFF), text, 512);  /* the box's static text */
        put(text, "\n");
        return FALSE;
    }
    if (wantMenu && wcscmp(name, L"#32768") == 0) {
        HMENU menu = (HMENU)SendMessageW(window, 0x01E1 /* MN_GETHMENU */, 0, 0);
        int i, count = menu ? GetMenuItemCount(menu) : -1;
        for (i = 0; i < count; ++i) {
            text[0] = 0;
            GetMenuStringW(menu, i, text, 512, MF_BYPOSITION);
            put(text, i + 1 < count ? "|" : "");
        }
        fprintf(out, "\n");
    }
    return TRUE;
}

int main(int argc, char **argv) {
    if (argc < 3) return 2;
    out = fopen(argv[2], "wb");
    if (!out) return 1;
    EnumWindows(each, strcmp(argv[1], "menu") == 0);
    fclose(out);
    return 0;
}
