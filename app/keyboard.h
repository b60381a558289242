// The shared keyboard: the GLUT callbacks only record key states; once per
// simulation step mapControls (control_mapping.h) turns them into the ships' controls.
#pragma once

constexpr int ASCII_KEY_COUNT = 256;
// GLUT's special keys are 1..12 (function keys) and 100..108 (cursor keys);
// freeglut also reports modifier keys above those, which are ignored.
constexpr int SPECIAL_KEY_COUNT = 128;

extern bool keyIsDown[ASCII_KEY_COUNT];
extern bool keyPressPending[ASCII_KEY_COUNT];
extern bool specialIsDown[SPECIAL_KEY_COUNT];
extern bool specialPressPending[SPECIAL_KEY_COUNT];

void keyDown(unsigned char key, int x, int y);
void keyUp(unsigned char key, int x, int y);
// A code outside the special-key arrays is ignored.
void specialDown(int code, int x, int y);
void specialUp(int code, int x, int y);
