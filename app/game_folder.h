// Finding the folder the game runs in: the one that holds Data/, from which the
// start-up reads every picture. The installed launcher starts the game there; the
// programs beside it find it themselves.
#pragma once

#include <string>

// Stays in the current folder when it holds Data/ (a build tree), else moves into
// the installed data folder found from this program's own place. False when
// neither holds Data/.
bool enterGameFolder();

// `path` as seen from the current folder, made absolute so that it still names the
// same file after enterGameFolder moves.
std::string absolutePath(const std::string& path);

// The message for a missing Data/, naming both places looked in.
std::string missingGameFolderMessage();
