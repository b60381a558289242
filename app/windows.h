// The game's two windows: the top-level "Kelvidron" window, which only shows a grey
// frame, and the sub-window 5 pixels inside it that carries both player views.
#pragma once

// Creates both windows with all their callbacks; the sub-window is left current,
// so the OpenGL objects made by the rest of start-up live in its context.
void createWindows();

// The top-level window's display callback: clears to dark grey.
void displayMain();
// The top-level window's reshape callback: keeps the sub-window 5 pixels inside.
void reshapeMain(int w, int h);
// The sub-window's reshape callback: stores the size the views are laid out in.
void reshapeViews(int w, int h);
