/* What Wine itself believes about the program's windows, printed from inside the test prefix:
 * the foreground thread's active, focus and capture windows, the window at a screen point and
 * the glass's rectangle. Usage: wine_probe.exe X Y */
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

static void describe(const char* what, HWND w) {
    char cls[128] = "", title[128] = "";
    DWORD pid = 0, tid = 0;
    RECT r = {0, 0, 0, 0};
    if (w) {
        GetClassNameA(w, cls, sizeof cls);
        GetWindowTextA(w, title, sizeof title);
        tid = GetWindowThreadProcessId(w, &pid);
        GetWindowRect(w, &r);
    }
    printf("%s=%p class=\"%s\" title=\"%s\" pid=%lu tid=%lu rect=(%ld,%ld)-(%ld,%ld) visible=%d\n",
           what, (void*)w, cls, title, pid, tid, r.left, r.top, r.right, r.bottom,
           w ? IsWindowVisible(w) : 0);
}

static BOOL CALLBACK each(HWND w, LPARAM unused) {
    (void)unused;
    char cls[128] = "";
    GetClassNameA(w, cls, sizeof cls);
    if (IsWindowVisible(w) && strcmp(cls, "tooltips_class32") != 0) {
        describe("  toplevel", w);
    }
    return TRUE;
}

int main(int argc, char** argv) {
    GUITHREADINFO g;
    g.cbSize = sizeof g;
    POINT p = {argc > 2 ? atoi(argv[1]) : 0, argc > 2 ? atoi(argv[2]) : 0};
    POINT cur;
    GetCursorPos(&cur);
    printf("cursor=(%ld,%ld) probe point=(%ld,%ld)\n", cur.x, cur.y, p.x, p.y);
    if (GetGUIThreadInfo(0, &g)) {
        printf("gui flags=0x%lx\n", g.flags);
        describe("active", g.hwndActive);
        describe("focus", g.hwndFocus);
        describe("capture", g.hwndCapture);
        describe("menuowner", g.hwndMenuOwner);
        describe("movesize", g.hwndMoveSize);
    } else {
        printf("GetGUIThreadInfo failed: %lu\n", GetLastError());
    }
    describe("foreground", GetForegroundWindow());
    describe("frompoint", WindowFromPoint(p));
    /* 「Kirelo」 */
    describe("glass", FindWindowW(L"\x300c"
                                  L"Kirelo"
                                  L"\x300d",
                                  NULL));
    printf("visible top-level windows, top first:\n");
    EnumWindows(each, 0);
    return 0;
}
