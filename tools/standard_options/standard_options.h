// --help and --version, which every installed tool answers alike: the usage, or
// its name and the project's version, on standard output.
#pragma once

// When the first argument is --help (or -h) or --version, prints the usage or
// "PROGRAM VERSION" and returns true: the program then exits with status 0.
bool answerStandardOption(int argc, char** argv, const char* program, const char* usage);
