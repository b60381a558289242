// Records of the GLUT windows: each remembers its id, size, placement and callbacks,
// and every setter makes its window current before the GLUT call.
#pragma once

using DisplayFunc = void (*)();
using ReshapeFunc = void (*)(int width, int height);
using KeyboardFunc = void (*)(unsigned char key, int x, int y);
using IdleFunc = void (*)();

struct WindowRecord {
    int id = 0;
    int width = 0;
    int height = 0;
    bool ignoreKeyRepeat = false;
    DisplayFunc displayFunc = nullptr;
    ReshapeFunc reshapeFunc = nullptr;
    KeyboardFunc keyboardFunc = nullptr;
    KeyboardFunc keyboardUpFunc = nullptr;
    // Sub-windows only: the parent and the top-left corner within it.
    int parentId = 0;
    int x = 0;
    int y = 0;

    int getId() const { return id; }
    void setId(int newId) { id = newId; }

    void setDisplayFunc(DisplayFunc f);
    void setReshapeFunc(ReshapeFunc f);
    void setKeyboardFunc(KeyboardFunc f);
    void setKeyboardUpFunc(KeyboardFunc f);
    void setIgnoreKeyRepeat(bool flag);

    // Stores the size only; the window system is not asked to change anything.
    void setSize(int newWidth, int newHeight);
    // Moves and resizes the window. A size below 1 is raised to 1: GLUT and X
    // cannot make a window of no pixels.
    void setPlacement(int newX, int newY, int newWidth, int newHeight);
    // Runs the reshape callback with the stored size and posts a redisplay.
    void refresh();

    void createSubWindow(int parent, int newX, int newY, int newWidth, int newHeight,
                         DisplayFunc display, ReshapeFunc reshape, KeyboardFunc keyboard,
                         KeyboardFunc keyboardUp, bool ignoreRepeat);
};

constexpr int MAX_SUB_WINDOWS = 4;

struct MainWindowRecord : WindowRecord {
    IdleFunc idleFunc = nullptr;
    WindowRecord subWindows[MAX_SUB_WINDOWS];
    int subWindowCount = 0;

    void setIdleFunc(IdleFunc f);

    // Opens the top-level window at screen position (100, 100).
    void create(const char* title, int newWidth, int newHeight, DisplayFunc display,
                ReshapeFunc reshape, IdleFunc idle, KeyboardFunc keyboard, KeyboardFunc keyboardUp,
                bool ignoreRepeat);
    // Fills the next free slot; with all four in use the call is ignored.
    void addSubWindow(int newX, int newY, int newWidth, int newHeight, DisplayFunc display,
                      ReshapeFunc reshape, KeyboardFunc keyboard, KeyboardFunc keyboardUp,
                      bool ignoreRepeat);
    WindowRecord& subWindow(int i) { return subWindows[i]; }
    // Sub-windows first, in slot order, then the top-level window.
    void refreshAll();
};

extern MainWindowRecord mainWindow;
