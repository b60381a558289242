// Key state recording.
#include "app/keyboard.h"

bool keyIsDown[ASCII_KEY_COUNT];
bool keyPressPending[ASCII_KEY_COUNT];
bool specialIsDown[SPECIAL_KEY_COUNT];
bool specialPressPending[SPECIAL_KEY_COUNT];

namespace {
bool isSpecialCode(int code) { return code >= 0 && code < SPECIAL_KEY_COUNT; }
} // namespace

void keyDown(unsigned char key, int, int) {
    keyIsDown[key] = true;
    keyPressPending[key] = true;
}

// The pending flag stays: a press between two steps is still seen by the next one.
void keyUp(unsigned char key, int, int) { keyIsDown[key] = false; }

void specialDown(int code, int, int) {
    if (!isSpecialCode(code))
        return;
    specialIsDown[code] = true;
    specialPressPending[code] = true;
}

void specialUp(int code, int, int) {
    if (!isSpecialCode(code))
        return;
    specialIsDown[code] = false;
}
