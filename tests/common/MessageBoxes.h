// Real message boxes on show, found and answered from another thread as a user would.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// A message box (a #32770 dialog on show) of the given thread, owned by owner (nullptr: no
// owner), other than the one left out; nullptr when there is none.
inline HWND FindBox(DWORD thread, HWND owner, HWND leftOut = nullptr) {
    struct Search {
        HWND owner;
        HWND leftOut;
        HWND found;
    } search{owner, leftOut, nullptr};
    EnumThreadWindows(
        thread,
        [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            char name[16] = {};
            GetClassNameA(w, name, sizeof(name));
            if (w != s->leftOut && lstrcmpA(name, "#32770") == 0 && IsWindowVisible(w) &&
                GetWindow(w, GW_OWNER) == s->owner) {
                s->found = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// From another thread: waits up to timeoutMs for such a box to come up.
inline HWND WaitForBox(DWORD thread, HWND owner, HWND leftOut = nullptr, DWORD timeoutMs = 5000) {
    const DWORD start = GetTickCount();
    for (;;) {
        HWND box = FindBox(thread, owner, leftOut);
        if (box != nullptr || GetTickCount() - start >= timeoutMs) {
            return box;
        }
        Sleep(10);
    }
}

// The text a box shows: its caption and the message in its static text control.
inline std::wstring BoxText(HWND box, bool caption) {
    constexpr int kMessageTextId = 0xFFFF;
    wchar_t text[512] = {};
    GetWindowTextW(caption ? box : GetDlgItem(box, kMessageTextId), text, 512);
    return text;
}

// Runs body on a thread of its own while the caller goes on (into a modal loop, say); the
// thread is waited for when the helper goes.
class Helper {
  public:
    explicit Helper(std::function<void()> body) : body_(std::move(body)) {
        thread_ = CreateThread(nullptr, 0, &Run, this, 0, nullptr);
    }
    ~Helper() {
        if (thread_ == nullptr) {
            return;
        }
        // Serving what the helper sends this thread meanwhile.
        while (MsgWaitForMultipleObjects(1, &thread_, FALSE, 10000, QS_SENDMESSAGE) ==
               WAIT_OBJECT_0 + 1) {
            MSG msg;
            PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
        CloseHandle(thread_);
    }
    Helper(const Helper&) = delete;
    Helper& operator=(const Helper&) = delete;

  private:
    static DWORD WINAPI Run(LPVOID self) {
        static_cast<Helper*>(self)->body_();
        return 0;
    }
    std::function<void()> body_;
    HANDLE thread_ = nullptr;
};
