// Keeps one tray icon of the test program in the notification area for the whole run. Wine's
// stand-alone tray window hides itself whenever its last icon goes, and every hide waits for a
// window manager the test display does not have; with this icon it stays up.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

namespace {
class TrayKeeper : public ::testing::Environment {
  public:
    void SetUp() override {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "KireloShellTestTrayKeeper";
        RegisterClassA(&wc);
        window_ = CreateWindowExA(0, wc.lpszClassName, nullptr, WS_POPUP, 0, 0, 1, 1, nullptr,
                                  nullptr, wc.hInstance, nullptr);
        data_.cbSize = NOTIFYICONDATAA_V1_SIZE;
        data_.hWnd = window_;
        data_.uID = 99;
        data_.uFlags = NIF_ICON;
        data_.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
        Shell_NotifyIconA(NIM_ADD, &data_);
    }
    void TearDown() override {
        Shell_NotifyIconA(NIM_DELETE, &data_);
        DestroyWindow(window_);
    }

  private:
    HWND window_ = nullptr;
    NOTIFYICONDATAA data_{};
};

const ::testing::Environment* const kTrayKeeper =
    ::testing::AddGlobalTestEnvironment(new TrayKeeper);
}  // namespace
