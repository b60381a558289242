// Reading back what display lists draw, through OpenGL's feedback mode.
#pragma once

#include <vector>

struct FeedbackPoint {
    float x, y, z;
};

// A 64-pixel viewport with identity projection and model-view: feedback window
// coordinates then map straight back to model coordinates.
void useIdentityView();

// Every polygon that `calls` calls of the list send down, its corners in model
// coordinates (under useIdentityView). The matrix is not pushed between calls.
std::vector<std::vector<FeedbackPoint>> feedbackPolygons(unsigned int list, int calls = 1);
