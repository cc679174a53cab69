// One small move-only owner for every kind of GDI/USER handle: the handle is released exactly once,
// by the right call, when the owner goes. Guards for the paired calls live beside it.
#pragma once

#include <windows.h>

#include <utility>

template <typename Handle, typename Traits>
class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : handle_(h) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }
    void reset(Handle h = Handle{}) {
        if (handle_ != Handle{}) {
            Traits::Close(handle_);
        }
        handle_ = h;
    }
    Handle release() { return std::exchange(handle_, Handle{}); }

  private:
    Handle handle_{};
};

struct GdiObjectTraits {
    static void Close(HGDIOBJ h) { DeleteObject(h); }
};
struct DcTraits {
    static void Close(HDC h) { DeleteDC(h); }
};
struct MenuTraits {
    static void Close(HMENU h) { DestroyMenu(h); }
};
struct IconTraits {
    static void Close(HICON h) { DestroyIcon(h); }
};
struct KernelHandleTraits {
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct WindowTraits {
    static void Close(HWND h) { DestroyWindow(h); }
};
struct LibraryTraits {
    static void Close(HMODULE h) { FreeLibrary(h); }
};
struct RegistryKeyTraits {
    static void Close(HKEY h) { RegCloseKey(h); }
};
struct HookTraits {
    static void Close(HHOOK h) { UnhookWindowsHookEx(h); }
};

using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectTraits>;
using UniquePen = UniqueHandle<HPEN, GdiObjectTraits>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectTraits>;
using UniquePalette = UniqueHandle<HPALETTE, GdiObjectTraits>;
using UniqueRegion = UniqueHandle<HRGN, GdiObjectTraits>;
using UniqueDC = UniqueHandle<HDC, DcTraits>;
using UniqueMenu = UniqueHandle<HMENU, MenuTraits>;
using UniqueIcon = UniqueHandle<HICON, IconTraits>;
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;
using UniqueWindow = UniqueHandle<HWND, WindowTraits>;
using UniqueLibrary = UniqueHandle<HMODULE, LibraryTraits>;
using UniqueRegistryKey = UniqueHandle<HKEY, RegistryKeyTraits>;
using UniqueHook = UniqueHandle<HHOOK, HookTraits>;

// Selects an object into a DC for the guard's lifetime and puts the previous one back.
class SelectionGuard {
  public:
    SelectionGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectionGuard() { SelectObject(dc_, previous_); }
    SelectionGuard(const SelectionGuard&) = delete;
    SelectionGuard& operator=(const SelectionGuard&) = delete;

  private:
    HDC dc_;            // not owned
    HGDIOBJ previous_;  // not owned
};

// GetDC / ReleaseDC of a window (null: the screen).
class WindowDC {
  public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() {
        if (dc_ != nullptr) {
            ReleaseDC(window_, dc_);
        }
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }

  private:
    HWND window_;  // not owned
    HDC dc_;
};

// BeginPaint / EndPaint.
class PaintGuard {
  public:
    explicit PaintGuard(HWND window) : window_(window) { dc_ = BeginPaint(window, &ps_); }
    ~PaintGuard() { EndPaint(window_, &ps_); }
    PaintGuard(const PaintGuard&) = delete;
    PaintGuard& operator=(const PaintGuard&) = delete;
    HDC get() const { return dc_; }
    const PAINTSTRUCT& paint() const { return ps_; }

  private:
    HWND window_;  // not owned
    PAINTSTRUCT ps_{};
    HDC dc_ = nullptr;
};
