// The one response to a failed allocation in the running game: say what could not be
// made and end the program, rather than write through a null pointer. Two kinds of
// allocation answer otherwise: a ship's model handle is left null (render/models.cpp),
// and the image readers and loaders print their own messages (assets/).
#pragma once

// Prints "Kelvidron: out of memory while making <what>" on standard error and exits
// with status 1.
[[noreturn]] void outOfMemory(const char* what);
