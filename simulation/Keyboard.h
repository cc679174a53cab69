// Escape ends the run: the simulation thread polls it once per frame while the main window has
// the focus. An Escape that was already down when the focus came (it closed a box or a menu)
// counts only once it has been seen released, so nothing ever waits for a key to come up.
#pragma once

#include <windows.h>

#include <cstdint>

class SharedState;

constexpr uint8_t kKeyNothing = 0;
constexpr uint8_t kKeyEscape = 9;
constexpr int kPolledKeyCount = 7;

// The values of SharedState::hasFocus: no focus; the focus with Escape counting; the focus while an
// Escape held since it came has not yet been seen released.
constexpr int32_t kFocusNone = 0;
constexpr int32_t kFocusKeysLive = 1;
constexpr int32_t kFocusUntilReleased = 2;

// Space, up, down, right, left, Return, Escape, in the order the focus queries them.
extern const int PolledKeys[kPolledKeyCount];

// The asynchronous key-state query: GetAsyncKeyState. A test seam, and so a global: the tests
// put a stand-in here to drive the keys themselves, which no real keyboard under Wine allows.
using KeyStateFunction = SHORT(WINAPI*)(int virtualKey);
extern KeyStateFunction QueryKeyState;

// 9 when Escape is down or was pressed since the last query, and the main window has the focus
// with Escape counting; otherwise 0 (without querying anything while the focus is elsewhere).
// While the focus waits for the release of an Escape it reads the key and, once it is up, lets
// the next presses count.
uint8_t PollKeyboard(SharedState& shared);
// For the window thread when the main window gets the focus: queries all seven keys once (which
// forgets presses made while another window had it) and gives the focus, Escape counting at once
// when no key is down, else only after its release. Never waits.
void TakeKeyboardFocus(SharedState& shared);
