// Helpers for tests that run on the real OpenGL in real GLUT windows.
#pragma once

#include <functional>
#include <string>

// glutInit once per test process.
void ensureGlutInit();

// A plain double-buffered, depth-buffered window whose context is current.
int makeTestWindow(int width, int height);

// Lets GLUT handle window-system events until done() holds (or a minute has passed,
// against a hang); returns whether done() held.
bool pumpEventsUntil(const std::function<bool()>& done);

// Lets GLUT handle events until the X server shows the window (mapped, and its
// parents too).
bool pumpEventsUntilShown(int glutWindowId);

// The title the X server holds for a GLUT window.
std::string windowTitleOf(int glutWindowId);
