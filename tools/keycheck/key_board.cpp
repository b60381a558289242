// The key check's key table and what is held.
#include "key_board.h"

#include <GL/freeglut.h>

const KeyRow KEY_ROWS[KEY_ROW_COUNT] = {
    {"thrust forward", {{false, 'q', "q"}, {true, GLUT_KEY_UP, "up arrow"}}},
    {"thrust reverse", {{false, 'a', "a"}, {true, GLUT_KEY_DOWN, "down arrow"}}},
    {"pitch up", {{false, 'i', "i"}, {false, '8', "8"}}},
    {"pitch down", {{false, 'k', "k"}, {false, '5', "5"}}},
    {"yaw left", {{false, 'j', "j"}, {false, '4', "4"}}},
    {"yaw right", {{false, 'l', "l"}, {false, '6', "6"}}},
    {"roll left", {{false, 'u', "u"}, {false, '7', "7"}}},
    {"roll right", {{false, 'o', "o"}, {false, '9', "9"}}},
    {"fire (on release)", {{false, 's', "s"}, {true, GLUT_KEY_RIGHT, "right arrow"}}},
    {"both views: inside / behind", {{false, 'e', "e"}, {false, 'r', "r"}}},
};

void KeyBoard::press(bool special, int code, bool down) {
    for (int row = 0; row < KEY_ROW_COUNT; ++row)
        for (int player = 0; player < 2; ++player) {
            const GameKey& key = KEY_ROWS[row].keys[player];
            if (key.special != special || key.code != code || held[row][player] == down)
                continue;
            held[row][player] = down;
            heldCount += down ? 1 : -1;
        }
    if (heldCount <= mostAtOnce)
        return;
    mostAtOnce = heldCount;
    mostAtOnceLabels.clear();
    for (int row = 0; row < KEY_ROW_COUNT; ++row)
        for (int player = 0; player < 2; ++player)
            if (held[row][player]) {
                if (!mostAtOnceLabels.empty())
                    mostAtOnceLabels += ", ";
                mostAtOnceLabels += KEY_ROWS[row].keys[player].label;
            }
}
