// Keyboard polling over the replaceable key-state query.
#include "simulation/Keyboard.h"

#include "simulation/SharedState.h"

const int PolledKeys[kPolledKeyCount] = {VK_SPACE, VK_UP,     VK_DOWN,  VK_RIGHT,
                                         VK_LEFT,  VK_RETURN, VK_ESCAPE};

KeyStateFunction QueryKeyState = &GetAsyncKeyState;

namespace {
constexpr SHORT kKeyDown = static_cast<SHORT>(0x8000);
}  // namespace

uint8_t PollKeyboard(SharedState& shared) {
    const int32_t focus = shared.hasFocus.load();
    if (focus == kFocusKeysLive) {
        return QueryKeyState(VK_ESCAPE) != 0 ? kKeyEscape : kKeyNothing;
    }
    if (focus == kFocusUntilReleased && (QueryKeyState(VK_ESCAPE) & kKeyDown) == 0) {
        // Seen up: the press that came with the focus is over. A focus lost meanwhile stays lost.
        int32_t waiting = kFocusUntilReleased;
        shared.hasFocus.compare_exchange_strong(waiting, kFocusKeysLive);
    }
    return kKeyNothing;
}

void TakeKeyboardFocus(SharedState& shared) {
    uint16_t combined = 0;
    for (int key : PolledKeys) {
        combined |= static_cast<uint16_t>(QueryKeyState(key));
    }
    shared.hasFocus = combined == 0 ? kFocusKeysLive : kFocusUntilReleased;
}
