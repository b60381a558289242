// Words over the whole sub-window (a heading along the top, a caption mid-way), for programs beside
// the game to tell their player what is happening (a countdown, who won, a lost connection). The
// game sets none, and a frame without a caption draws exactly what it always did.
#pragma once

#include <string>

// Lines separated by '\n', centred in the sub-window; empty for none.
void setFrameCaption(const std::string& text);
const std::string& frameCaption();

// One line along the top of the sub-window for as long as it is set (what is being
// watched, say); empty for none.
void setFrameHeading(const std::string& text);
const std::string& frameHeading();

// Draws the heading and the caption over the finished frame, leaving the state as the
// views need it.
void drawFrameCaption(int width, int height);
