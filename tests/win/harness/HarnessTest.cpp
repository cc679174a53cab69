// Proves the Windows test harness: a real window under Wine, the message seam's Windows wiring,
// GDI drawing read back from a memory DC, and the ANSI code page the texts are written in.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/AppWindow.h"
#include "platform/UniqueHandle.h"
#include "resources/TextIds.h"
#include "tests/common/MessageRecorder.h"

namespace {
HWND CreateTestWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KireloHarnessWindow";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, "harness", WS_POPUP, 0, 0, 300, 360, nullptr,
                           nullptr, wc.hInstance, nullptr);
}
}  // namespace

TEST(WineHarness, AnsiCodePageIsJapanese) {
    EXPECT_EQ(GetACP(), 932u);
}

TEST(WineHarness, AppWindowMessageReachesTheRecorderWithItsOwner) {
    UniqueWindow window(CreateTestWindow());
    ASSERT_TRUE(window);
    AppWindow app(window.get());
    EXPECT_EQ(app.GetInstance(), GetModuleHandleA(nullptr));
    MessageRecorder recorder;
    EXPECT_EQ(app.ShowMessage(IDS_NO_ANT, IDS_INDEX_CAPTION, MB_OK), IDOK);
    ASSERT_EQ(recorder.size(), 1u);
    const RecordedMessage& m = recorder.messages()[0];
    EXPECT_EQ(m.text, IDS_NO_ANT);
    EXPECT_EQ(m.caption, IDS_INDEX_CAPTION);
    EXPECT_EQ(m.flags, static_cast<uint32_t>(MB_OK));
    EXPECT_EQ(m.owner, MessageOwner::MainWindow);
}

TEST(WineHarness, MessageBoxSinkOwnsTheBoxByTheMainWindow) {
    // A real MessageBoxA would block the run; the sink is installed and then replaced by the
    // recorder, so only the switch itself is exercised here.
    static const std::unique_ptr<AppWindow> noApp;
    InstallMessageBoxSink(noApp, nullptr);
    MessageRecorder recorder;
    ShowProgramMessage(IDS_TOO_NARROW, IDS_TOO_SMALL_CAPTION, MB_ICONWARNING);
    ASSERT_EQ(recorder.size(), 1u);
    EXPECT_EQ(recorder.messages()[0].flags, static_cast<uint32_t>(MB_ICONWARNING));
}

TEST(WineHarness, GdiDrawingIntoAMemoryDcReadsBack) {
    WindowDC screen(nullptr);
    UniqueDC dc(CreateCompatibleDC(screen.get()));
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = 40;
    bi.bmiHeader.biHeight = 40;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(dc.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_TRUE(bitmap);
    SelectionGuard selected(dc.get(), bitmap.get());
    PatBlt(dc.get(), 0, 0, 40, 40, WHITENESS);
    UniqueBrush red(CreateSolidBrush(RGB(255, 0, 0)));
    RECT r{10, 10, 20, 20};
    FillRect(dc.get(), &r, red.get());
    GdiFlush();
    const auto* px = static_cast<const uint32_t*>(bits);
    // Bottom-up rows: row y from the top is at (39 - y).
    EXPECT_EQ(px[(39 - 15) * 40 + 15] & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(px[(39 - 5) * 40 + 5] & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(GetPixel(dc.get(), 19, 19), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc.get(), 20, 20), RGB(255, 255, 255));
}
