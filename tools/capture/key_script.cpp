// Parsing of key scripts.
#include "key_script.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

struct NamedKey {
    const char* name;
    int code;
};

const NamedKey SPECIAL_KEYS[] = {{"up", GLUT_KEY_UP},
                                 {"down", GLUT_KEY_DOWN},
                                 {"left", GLUT_KEY_LEFT},
                                 {"right", GLUT_KEY_RIGHT}};

bool parseStep(const std::string& token, int& step) {
    if (token.empty() || token.find_first_not_of("0123456789") != std::string::npos)
        return false;
    errno = 0;
    const long value = std::strtol(token.c_str(), nullptr, 10);
    if (errno != 0 || value > INT_MAX)
        return false;
    step = static_cast<int>(value);
    return true;
}

bool parseKey(const std::string& token, ScriptedKey& key) {
    if (token.size() == 1 && token[0] > ' ' && token[0] < 127) {
        key.special = false;
        key.code = static_cast<unsigned char>(token[0]);
        return true;
    }
    for (const NamedKey& named : SPECIAL_KEYS)
        if (token == named.name) {
            key.special = true;
            key.code = named.code;
            return true;
        }
    return false;
}

} // namespace

KeyScript parseKeyScript(const std::string& text, const std::string& source) {
    KeyScript script;
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        std::istringstream words(line);
        std::string stepWord, keyWord, actionWord, extra;
        if (!(words >> stepWord) || stepWord[0] == '#')
            continue;
        const std::string where = source + ":" + std::to_string(lineNumber) + ": ";
        if (!(words >> keyWord >> actionWord) || (words >> extra)) {
            script.error = where + "expected three words: step key down|up";
            return script;
        }
        ScriptedKey key;
        if (!parseStep(stepWord, key.step)) {
            script.error = where + "step '" + stepWord + "' is not a whole number from 0";
            return script;
        }
        if (!parseKey(keyWord, key)) {
            script.error = where + "unknown key '" + keyWord +
                           "' (use one character, or up, down, left, right)";
            return script;
        }
        if (actionWord != "down" && actionWord != "up") {
            script.error = where + "action '" + actionWord + "' must be down or up";
            return script;
        }
        key.down = actionWord == "down";
        script.keys.push_back(key);
    }
    return script;
}

KeyScript readKeyScript(const std::string& path) {
    std::ifstream file(path);
    if (!file) {
        KeyScript script;
        script.error = path + ": cannot read the key script";
        return script;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return parseKeyScript(text.str(), path);
}

int stepsCoveredBy(const KeyScript& script) {
    int steps = 0;
    for (const ScriptedKey& key : script.keys)
        steps = std::max(steps, key.step + 1);
    return steps;
}
