// Keyboard polling over the replaceable key-state query.
#include "simulation/Keyboard.h"

#include "base/Geometry.h"
#include "simulation/SharedState.h"

const int PolledKeys[kPolledKeyCount] = {VK_SPACE, VK_UP,     VK_DOWN,  VK_RIGHT,
                                         VK_LEFT,  VK_RETURN, VK_ESCAPE};

KeyStateFunction QueryKeyState = &GetAsyncKeyState;

uint8_t PollKeyboard() {
    if (Shared.hasFocus == 0) {
        return kKeyNothing;
    }
    return QueryKeyState(VK_ESCAPE) != 0 ? kKeyEscape : kKeyNothing;
}

void FlushKeyboard() {
    for (;;) {
        uint16_t combined = 0;
        for (int key : PolledKeys) {
            combined |= static_cast<uint16_t>(QueryKeyState(key));
        }
        if (combined == 0) {
            return;
        }
        // A key held down: look again a little later instead of spinning a core meanwhile.
        Sleep(kFlushPollMs);
    }
}
