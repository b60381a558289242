// Join codes: eight letters and digits with no look-alikes (no 0/O, 1/I/L, 5/S, 2/Z,
// 8/B), read aloud and typed by the other player, checked by the host at connection.
#pragma once

#include <cstdint>
#include <string>

// The letters a code is made of.
extern const char JOIN_CODE_ALPHABET[];

// A code made from 64 random bits (the caller's source: a device, never the duel's).
std::string makeJoinCode(uint64_t randomBits);

// What a player typed, as a code: upper case, spaces and dashes left out; empty if it
// cannot be one (a letter outside the alphabet, or the wrong length).
std::string normaliseJoinCode(const std::string& typed);

// Whether every character is one of the alphabet's.
bool isJoinCodeLetter(char c);

// Compares two codes in time that does not depend on where they first differ.
bool sameJoinCode(const std::string& a, const std::string& b);
