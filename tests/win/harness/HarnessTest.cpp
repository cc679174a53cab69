// Proves the Windows test harness: a real window under Wine, the message seam's Windows wiring,
// and the ANSI code page the texts are written in.
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
