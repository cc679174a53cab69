// What one frame of a walking ant costs the display for each way of showing a shaped 8 x 8
// window that changes its shape every frame. Run by stray_probe.sh, which reads the CPU time.
// Modes (the ant's way, then after a colon how a 300 x 360 lens window is repainted each frame):
//   none move map park parknz rgn key keyd keyf ulwkey ulwalpha  :  none inv send post
// keyd and keyf paint the layered window through GetDC only: Wine never maps it then, so their
// low figures show nothing on the screen and only warn against that way.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
constexpr int kCell = 8;
constexpr int kCells = 16;
constexpr COLORREF kKey = RGB(255, 0, 255);

HWND g_windows[kCells];
HRGN g_shapes[kCells];
HDC g_sheet;  // the 16 cells side by side, key colour around each ant
int g_cell = 0;

bool Inside(int cell, int x, int y) {
    const int dx = x * 2 - 7;
    const int dy = y * 2 - 7;
    return dx * dx + dy * dy < 40 && ((x + y + cell) % 3 != 0 || (x + cell) % 2 == 0);
}

HRGN ShapeOf(int cell) {
    HRGN all = CreateRectRgn(0, 0, 0, 0);
    for (int y = 0; y < kCell; ++y) {
        for (int x = 0; x < kCell; ++x) {
            if (Inside(cell, x, y)) {
                HRGN px = CreateRectRgn(x, y, x + 1, y + 1);
                CombineRgn(all, all, px, RGN_OR);
                DeleteObject(px);
            }
        }
    }
    return all;
}

void MakeSheet() {
    HDC screen = GetDC(nullptr);
    g_sheet = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = kCell * kCells;
    bi.bmiHeader.biHeight = -kCell;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    SelectObject(g_sheet, bmp);
    auto* px = static_cast<DWORD*>(bits);
    for (int c = 0; c < kCells; ++c) {
        for (int y = 0; y < kCell; ++y) {
            for (int x = 0; x < kCell; ++x) {
                const bool in = Inside(c, x, y);
                // key colour outside; alpha 255 inside for the per-pixel alpha mode
                px[y * kCell * kCells + c * kCell + x] = in ? 0xFF803010u : 0x00FF00FFu;
            }
        }
    }
    ReleaseDC(nullptr, screen);
}

const char* g_mode = "map";
const char* g_paint = "none";  // how the lens is repainted each frame: none, inv, send, post
HWND g_lens;
HDC g_lensDC;
DWORD* g_lensBits;
constexpr UINT kPaintMessage = WM_APP + 1;
constexpr UINT kMoveMessage = WM_APP + 2;
int g_frame = 0;

void PaintLensNow(HDC dc) {
    BitBlt(dc, 20, 20, 200, 200, g_lensDC, 20, 20, SRCCOPY);
}

LRESULT CALLBACK LensProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    switch (m) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(w, &ps);
            BitBlt(dc, 0, 0, 300, 360, g_lensDC, 0, 0, SRCCOPY);
            EndPaint(w, &ps);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case kPaintMessage: {
            HDC dc = GetDC(w);
            PaintLensNow(dc);
            ReleaseDC(w, dc);
            return 0;
        }
        default:
            return DefWindowProcA(w, m, wp, lp);
    }
}

void Frame(int n);

DWORD WINAPI Sim(LPVOID) {
    for (int f = 0;; f++) {
        const DWORD t0 = GetTickCount();
        for (int y = 20; y < 220; y++) {
            for (int x = 20; x < 220; x++) {
                g_lensBits[y * 300 + x] = ((x + f) & 0xff) << 8 | (y & 0xff);
            }
        }
        if (std::strcmp(g_paint, "inv") == 0) {
            RECT r{20, 20, 220, 220};
            InvalidateRect(g_lens, &r, FALSE);
            UpdateWindow(g_lens);
        } else if (std::strcmp(g_paint, "send") == 0) {
            SendMessageA(g_lens, kPaintMessage, 0, 0);
        }
        g_frame = f;
        if (std::strcmp(g_mode, "none") != 0 || std::strcmp(g_paint, "post") == 0) {
            PostMessageA(g_lens, kMoveMessage, 0, 0);
        }
        Sleep(10);
        const DWORD e = GetTickCount() - t0;
        if (e < 80) {
            Sleep(80 - e);
        }
    }
    return 0;
}

LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    switch (m) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(w, &ps);
            int cell = g_cell;
            for (int i = 0; i < kCells; ++i) {
                if (g_windows[i] == w && std::strcmp(g_mode, "key") != 0) {
                    cell = i;
                }
            }
            BitBlt(dc, 0, 0, kCell, kCell, g_sheet, cell * kCell, 0, SRCCOPY);
            EndPaint(w, &ps);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        default:
            return DefWindowProcA(w, m, wp, lp);
    }
}

void Frame(int n) {
    if (std::strcmp(g_paint, "post") == 0) {
        HDC dc = GetDC(g_lens);
        PaintLensNow(dc);
        ReleaseDC(g_lens, dc);
    }
    const int x = 100 + (n % 600);
    const int y = 300 + (n / 600) % 200;
    const int cell = n % 2 + ((n / 40) % 8) * 2;
    const int old = g_cell;
    g_cell = cell;
    const UINT show = SWP_SHOWWINDOW | SWP_NOACTIVATE;
    if (std::strcmp(g_mode, "none") == 0) {
        return;
    }
    if (std::strcmp(g_mode, "map") == 0) {
        SetWindowPos(g_windows[cell], HWND_TOPMOST, x, y, kCell, kCell,
                     old == cell ? SWP_NOACTIVATE : show);
        if (old != cell) {
            ShowWindow(g_windows[old], SW_HIDE);
        }
    } else if (std::strcmp(g_mode, "park") == 0) {
        SetWindowPos(g_windows[cell], HWND_TOPMOST, x, y, 0, 0,
                     SWP_NOACTIVATE | SWP_NOSIZE | SWP_SHOWWINDOW);
        if (old != cell) {
            SetWindowPos(g_windows[old], nullptr, -32000, -32000, 0, 0,
                         SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOZORDER);
        }
    } else if (std::strcmp(g_mode, "parknz") == 0) {
        SetWindowPos(g_windows[cell], nullptr, x, y, 0, 0,
                     SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
        if (old != cell) {
            SetWindowPos(g_windows[old], nullptr, -32000, -32000, 0, 0,
                         SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOZORDER);
        }
    } else if (std::strcmp(g_mode, "move") == 0) {
        // the lower bound: one window, one shape, moved
        SetWindowPos(g_windows[0], nullptr, x, y, 0, 0,
                     SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    } else if (std::strcmp(g_mode, "rgn") == 0) {
        HRGN r = CreateRectRgn(0, 0, 0, 0);
        CombineRgn(r, g_shapes[cell], nullptr, RGN_COPY);
        SetWindowRgn(g_windows[0], r, FALSE);
        SetWindowPos(g_windows[0], nullptr, x, y, 0, 0,
                     SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
        InvalidateRect(g_windows[0], nullptr, FALSE);
        UpdateWindow(g_windows[0]);
    } else if (std::strcmp(g_mode, "key") == 0) {
        SetWindowPos(g_windows[0], nullptr, x, y, 0, 0,
                     SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
        if (old != cell || n == 0) {
            InvalidateRect(g_windows[0], nullptr, FALSE);
            UpdateWindow(g_windows[0]);
        }
    } else if (std::strcmp(g_mode, "ulwkey") == 0 || std::strcmp(g_mode, "ulwalpha") == 0) {
        const bool alpha = std::strcmp(g_mode, "ulwalpha") == 0;
        POINT dst{x, y};
        SIZE size{kCell, kCell};
        POINT src{cell * kCell, 0};
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        UpdateLayeredWindow(g_windows[0], nullptr, &dst, &size, g_sheet, &src, kKey, &blend,
                            alpha ? ULW_ALPHA : ULW_COLORKEY);
        if (n == 0) {
            ShowWindow(g_windows[0], SW_SHOWNOACTIVATE);
        }
    }
}
}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) {
        g_mode = argv[1];
    }
    if (const char* colon = std::strchr(g_mode, ':')) {
        static char ant[32];
        std::snprintf(ant, sizeof ant, "%.*s", static_cast<int>(colon - g_mode), g_mode);
        g_paint = colon + 1;
        g_mode = ant;
    }
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 12;
    MakeSheet();
    WNDCLASSA wc{};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "probe";
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    RegisterClassA(&wc);
    const bool layered = std::strncmp(g_mode, "ulw", 3) == 0 || std::strncmp(g_mode, "key", 3) == 0;
    for (int i = 0; i < kCells; ++i) {
        g_shapes[i] = ShapeOf(i);
        g_windows[i] =
            CreateWindowExA(WS_EX_TOPMOST | (layered ? WS_EX_LAYERED : 0), "probe", nullptr,
                            WS_POPUP, 0, 0, kCell, kCell, nullptr, nullptr, wc.hInstance, nullptr);
        if (!layered) {
            HRGN r = CreateRectRgn(0, 0, 0, 0);
            CombineRgn(r, g_shapes[i], nullptr, RGN_COPY);
            SetWindowRgn(g_windows[i], r, FALSE);
        }
    }
    if (std::strncmp(g_mode, "key", 3) == 0) {
        SetLayeredWindowAttributes(g_windows[0], kKey, 255, LWA_COLORKEY);
    }
    if (std::strncmp(g_mode, "park", 4) == 0) {
        for (int i = 0; i < kCells; ++i) {
            SetWindowPos(g_windows[i], HWND_TOPMOST, -32000, -32000, 0, 0,
                         SWP_NOACTIVATE | SWP_NOSIZE | SWP_SHOWWINDOW);
        }
    }
    if (std::strcmp(g_paint, "none") != 0) {
        WNDCLASSA lc{};
        lc.lpfnWndProc = &LensProc;
        lc.hInstance = wc.hInstance;
        lc.lpszClassName = "lens";
        lc.style = getenv("PROBE_OWNDC") != nullptr ? CS_OWNDC : 0;
        RegisterClassA(&lc);
        g_lens = CreateWindowExA(WS_EX_TOOLWINDOW, "lens", nullptr, WS_POPUP, 600, 100, 300, 360,
                                 nullptr, nullptr, wc.hInstance, nullptr);
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 300, -360, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        HDC sc = GetDC(nullptr);
        g_lensDC = CreateCompatibleDC(sc);
        HBITMAP b = CreateDIBSection(sc, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&g_lensBits),
                                     nullptr, 0);
        ReleaseDC(nullptr, sc);
        SelectObject(g_lensDC, b);
        SetWindowRgn(g_lens, CreateEllipticRgn(0, 0, 300, 360), TRUE);
        ShowWindow(g_lens, SW_SHOWNOACTIVATE);
        CreateThread(nullptr, 0, Sim, nullptr, 0, nullptr);
        const DWORD start = GetTickCount();
        int frames = 0;
        MSG msg;
        while (GetTickCount() - start < static_cast<DWORD>(seconds) * 1000 &&
               GetMessageA(&msg, nullptr, 0, 0) > 0) {
            if (msg.message == kMoveMessage) {
                Frame(g_frame);
                ++frames;
            }
            DispatchMessageA(&msg);
        }
        std::printf("%s:%s frames %d\n", g_mode, g_paint, frames);
        return 0;
    }
    const DWORD start = GetTickCount();
    int n = 0;
    DWORD next = start;
    while (GetTickCount() - start < static_cast<DWORD>(seconds) * 1000) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
        }
        if (static_cast<LONG>(GetTickCount() - next) >= 0) {
            Frame(n++);
            next += 80;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    std::printf("%s frames %d\n", g_mode, n);
    return 0;
}
