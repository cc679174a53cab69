// Keyboard polling over the replaceable key-state query.
#include "simulation/Keyboard.h"

#include "simulation/SharedState.h"

const int PolledKeys[kPolledKeyCount] = {VK_SPACE, VK_UP,     VK_DOWN,  VK_RIGHT,
                                         VK_LEFT,  VK_RETURN, VK_ESCAPE};

KeyStateFunction QueryKeyState = &GetAsyncKeyState;

uint8_t PollKeyboard() {
    if (HasFocus == 0) {
        return kKeyNothing;
    }
    return QueryKeyState(VK_ESCAPE) != 0 ? kKeyEscape : kKeyNothing;
}

void FlushKeyboard() {
    uint16_t combined = 0;
    do {
        combined = 0;
        for (int key : PolledKeys) {
            combined |= static_cast<uint16_t>(QueryKeyState(key));
        }
    } while (combined != 0);
}
