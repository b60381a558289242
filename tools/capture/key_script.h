// Key scripts for the capture tool: lines of "step key down|up" that say which key
// event reaches the game before which simulation step.
#pragma once

#include <string>
#include <vector>

struct ScriptedKey {
    int step = 0;         // delivered before this step runs (steps count from 0)
    bool special = false; // a GLUT special key (the arrows) rather than a character
    int code = 0;         // the character, or the GLUT special-key code
    bool down = true;
};

struct KeyScript {
    std::vector<ScriptedKey> keys; // in file order
    std::string error;             // empty when the script was read completely
};

// Parses a script's text. Blank lines and lines starting with '#' are skipped. A key
// is one printable character ('q', '8', 's') or the name of an arrow key: up, down,
// left, right. `source` names the script in error messages.
KeyScript parseKeyScript(const std::string& text, const std::string& source);

// Reads and parses a file; a file that cannot be read is reported in `error`.
KeyScript readKeyScript(const std::string& path);

// The number of steps a script needs so that every event reaches a step.
int stepsCoveredBy(const KeyScript& script);
