// The one road every message box of the program takes. The Windows program routes it to a modal
// MessageBoxW on the main window's thread; tests put a recorder in its place. No windows.h here:
// flags are the platform values, and texts travel as their ids (resources/TextIds.h), which the
// Windows end looks up in the user's language.
#pragma once

#include <cstdint>

namespace mb {
constexpr uint32_t kOk = 0x00000000;           // MB_OK
constexpr uint32_t kIconError = 0x00000010;    // MB_ICONERROR / MB_ICONHAND
constexpr uint32_t kIconWarning = 0x00000030;  // MB_ICONWARNING / MB_ICONEXCLAMATION
constexpr int kIdOk = 1;                       // IDOK
}  // namespace mb

// Whose box it is: almost every message belongs to the main window; the thank-you box has no
// owner, and the stray ant's box belongs to the little window that was clicked.
enum class MessageOwner : int32_t { MainWindow, NoOwner, GivenWindow };

struct MessageRequest {
    uint32_t text;     // IDS_* text id
    uint32_t caption;  // IDS_* text id
    uint32_t flags;    // MB_* values
    MessageOwner owner;
    void* window;  // not owned; the HWND when owner is GivenWindow
};

using MessageSink = int (*)(const MessageRequest& request);

// Installs sink (null restores the default, which only reports to stderr) and returns the
// previous one. Safe to call while the other thread raises messages.
MessageSink SetMessageSink(MessageSink sink);

// Shows the message through the installed sink and returns its result (IDOK for OK boxes).
int RaiseMessage(const MessageRequest& request);

// While one lives on a thread, that thread must raise no box: code that holds a lock the window
// thread may wait for (which shows every box) marks itself so. A box asked for inside one is not
// shown (the result is 0), is reported on stderr and counted, and stops a build with assertions.
class NoMessageZone {
  public:
    NoMessageZone();
    ~NoMessageZone();
    NoMessageZone(const NoMessageZone&) = delete;
    NoMessageZone& operator=(const NoMessageZone&) = delete;
};
// How many boxes were asked for inside a NoMessageZone since the program started.
int MessageZoneBreaches();

// The usual case: a box owned by the main window.
inline int ShowProgramMessage(uint32_t text, uint32_t caption, uint32_t flags) {
    return RaiseMessage({text, caption, flags, MessageOwner::MainWindow, nullptr});
}
