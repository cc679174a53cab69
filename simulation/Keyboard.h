// Escape ends the run: the simulation thread polls it once per frame while the main window has
// the focus, and the focus handler first drains presses made while another window had it.
#pragma once

#include <windows.h>

#include <cstdint>

constexpr uint8_t kKeyNothing = 0;
constexpr uint8_t kKeyEscape = 9;
constexpr int kPolledKeyCount = 7;

// Space, up, down, right, left, Return, Escape, in the order the flush queries them.
extern const int PolledKeys[kPolledKeyCount];

// The asynchronous key-state query (GetAsyncKeyState unless a test drives the keys itself).
using KeyStateFunction = SHORT(WINAPI*)(int virtualKey);
extern KeyStateFunction QueryKeyState;

// 9 when Escape is down or was pressed since the last query, and the main window has the focus;
// otherwise 0 (without querying anything while the focus is elsewhere).
uint8_t PollKeyboard();
// Queries all seven keys again and again until none is down and none was pressed meanwhile.
void FlushKeyboard();
