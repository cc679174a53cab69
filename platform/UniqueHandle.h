// One small move-only owner for every kind of Win32 handle, named by an alias per kind: the
// handle is released exactly once, by the call the alias names, when the owner goes. An empty
// owner holds the null handle. Guards for the paired calls live beside it.
#pragma once

#include <windows.h>

#include <utility>

template <typename Handle, auto Close>
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
            Close(handle_);
        }
        handle_ = h;
    }
    Handle release() { return std::exchange(handle_, Handle{}); }

  private:
    Handle handle_{};
};

using UniqueBitmap = UniqueHandle<HBITMAP, &DeleteObject>;
using UniquePen = UniqueHandle<HPEN, &DeleteObject>;
using UniqueBrush = UniqueHandle<HBRUSH, &DeleteObject>;
using UniquePalette = UniqueHandle<HPALETTE, &DeleteObject>;
using UniqueRegion = UniqueHandle<HRGN, &DeleteObject>;
using UniqueDC = UniqueHandle<HDC, &DeleteDC>;
using UniqueMenu = UniqueHandle<HMENU, &DestroyMenu>;
using UniqueIcon = UniqueHandle<HICON, &DestroyIcon>;
using UniqueWindow = UniqueHandle<HWND, &DestroyWindow>;
using UniqueLibrary = UniqueHandle<HMODULE, &FreeLibrary>;
using UniqueHook = UniqueHandle<HHOOK, &UnhookWindowsHookEx>;
using UniqueRegKey = UniqueHandle<HKEY, &RegCloseKey>;
// Kernel objects: events, files, threads. A failed CreateFile gives INVALID_HANDLE_VALUE, which
// the caller checks before handing the handle over.
using UniqueKernelHandle = UniqueHandle<HANDLE, &CloseHandle>;
using UniqueThread = UniqueKernelHandle;
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
