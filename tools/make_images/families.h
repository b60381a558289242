// The image families of the generator, each made in the file named after it
// (makeStarField in star_field.cpp, makeGasGiant in gas_giant.cpp, ...); each writes
// its files into the folder given (with a trailing slash) and returns false after a
// message on failure.
#pragma once

#include <string>

bool makeStarField(const std::string& folder);
bool makeGasGiant(const std::string& folder);
bool makeEarth(const std::string& folder);
bool makeMars(const std::string& folder);
bool makeVenus(const std::string& folder);
bool makePluto(const std::string& folder);
bool makeInstruments(const std::string& folder);
