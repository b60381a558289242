// The sub-window's drawing: both player views side by side.
#pragma once

// The sub-window's display callback.
void displayViews();

// The camera reshapeViews leaves behind for the whole sub-window; displayViews
// loads its own matrices before drawing, so this has no visible effect.
void setProvisionalCamera(int w, int h);
