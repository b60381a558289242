// The game's keys as the key check shows them: each player's key per action, the two
// view keys, which of them are held now and the largest set held at once so far.
#pragma once

#include <string>

struct GameKey {
    bool special; // a GLUT special key (an arrow) rather than a character
    int code;     // the character, or the GLUT special-key code
    const char* label;
};

struct KeyRow {
    const char* action;
    GameKey keys[2]; // player 1's, player 2's
};

// As the README's controls table lists them.
constexpr int KEY_ROW_COUNT = 10;
extern const KeyRow KEY_ROWS[KEY_ROW_COUNT];
// Both players' keys and the view keys, each once.
constexpr int GAME_KEY_COUNT = 2 * KEY_ROW_COUNT;

struct KeyBoard {
    bool held[KEY_ROW_COUNT][2] = {};
    int heldCount = 0;
    // The largest set of keys held at once, in the order of the rows.
    int mostAtOnce = 0;
    std::string mostAtOnceLabels;

    // A key event from GLUT; keys the game does not read are left out.
    void press(bool special, int code, bool down);
};
