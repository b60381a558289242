// Making, reading and comparing join codes.
#include "net/join_code.h"

#include "net/packets.h"

#include <cctype>
#include <cstring>

// Twenty-five symbols: the digits and letters that cannot be taken for one another
// when read aloud or from a screen.
const char JOIN_CODE_ALPHABET[] = "34679ACDEFGHJKMNPQRTUVWXY";

namespace {

constexpr uint64_t ALPHABET_SIZE = sizeof(JOIN_CODE_ALPHABET) - 1;

} // namespace

std::string makeJoinCode(uint64_t randomBits) {
    // 25^8 is about 2^37: a stranger who guesses has one chance in 150 billion.
    std::string code;
    for (int i = 0; i < JOIN_CODE_LENGTH; ++i) {
        code += JOIN_CODE_ALPHABET[randomBits % ALPHABET_SIZE];
        randomBits /= ALPHABET_SIZE;
    }
    return code;
}

bool isJoinCodeLetter(char c) { return c != '\0' && std::strchr(JOIN_CODE_ALPHABET, c) != nullptr; }

std::string normaliseJoinCode(const std::string& typed) {
    std::string code;
    for (char c : typed) {
        if (c == ' ' || c == '-')
            continue;
        const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (!isJoinCodeLetter(upper))
            return {};
        code += upper;
    }
    return code.size() == JOIN_CODE_LENGTH ? code : std::string{};
}

bool sameJoinCode(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    unsigned char differ = 0;
    for (size_t i = 0; i < a.size(); ++i)
        differ |= static_cast<unsigned char>(a[i] ^ b[i]);
    return differ == 0;
}
