// kelvidron-keycheck: shows both players' keys, lights each one while it is held and
// keeps the largest set of them held at once, so players can find the combinations
// their keyboard drops. Esc or closing the window ends it; it then prints that set.
#include "key_board.h"
#include "standard_options.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <string>

namespace {

constexpr int WIDTH = 520;
constexpr int HEIGHT = 420;
constexpr int ROW_HEIGHT = 26;
constexpr int FIRST_ROW_TOP = 44; // below the column heads
constexpr int KEY_LEFT[2] = {200, 340};
constexpr int KEY_WIDTH = 120;
constexpr int KEY_HEIGHT = 20;
constexpr unsigned char ESCAPE = 27;

const char USAGE[] =
    "Usage: kelvidron-keycheck [GLUT options]\n"
    "\n"
    "Shows both players' keys in a window and lights each one while it is held; the\n"
    "largest set held at once stays shown. A key that does not light was dropped by\n"
    "the keyboard. Esc or closing the window ends it and prints that set. Other\n"
    "arguments go to GLUT (-display DISPLAY, -geometry WxH+X+Y, ...).\n";

KeyBoard board;
int width = WIDTH;
int height = HEIGHT;
std::string shownTitle;

// Positions count from the window's top left corner, as the layout reads.
void text(int x, int top, const std::string& s) {
    glRasterPos2i(x, height - top - 13);
    for (char c : s)
        glutBitmapCharacter(GLUT_BITMAP_HELVETICA_12, c);
}

int textWidth(const std::string& s) {
    return glutBitmapLength(GLUT_BITMAP_HELVETICA_12,
                            reinterpret_cast<const unsigned char*>(s.c_str()));
}

void box(int x, int top, int w, int h) { glRecti(x, height - top - h, x + w, height - top); }

void drawKey(const GameKey& key, int x, int top, bool held) {
    // A held key is a bright amber cap with dark text; a free one is dark grey.
    if (held)
        glColor3ub(255, 192, 32);
    else
        glColor3ub(70, 70, 70);
    box(x, top, KEY_WIDTH, KEY_HEIGHT);
    if (held)
        glColor3ub(0, 0, 0);
    else
        glColor3ub(230, 230, 230);
    text(x + (KEY_WIDTH - textWidth(key.label)) / 2, top + 4, key.label);
}

// Breaks the list of keys into lines that fit the window.
void wrappedText(int x, int top, const std::string& s) {
    std::string line;
    size_t start = 0;
    while (start < s.size()) {
        size_t end = s.find(", ", start);
        const std::string item =
            s.substr(start, end == std::string::npos ? std::string::npos : end + 2 - start);
        if (!line.empty() && x + textWidth(line + item) > width - 10) {
            text(x, top, line);
            top += 16;
            line.clear();
        }
        line += item;
        start = end == std::string::npos ? s.size() : end + 2;
    }
    text(x, top, line);
}

// The title says what the window shows, so that scripts can tell when a key has
// been shown.
void showTitle() {
    const std::string title = "Kelvidron key check: " + std::to_string(board.heldCount) +
                              " held, most at once " + std::to_string(board.mostAtOnce);
    if (title == shownTitle)
        return;
    glutSetWindowTitle(title.c_str());
    shownTitle = title;
}

void display() {
    glClearColor(0.12f, 0.12f, 0.14f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3ub(200, 200, 200);
    text(KEY_LEFT[0] + 30, 16, "Player 1");
    text(KEY_LEFT[1] + 30, 16, "Player 2");
    for (int row = 0; row < KEY_ROW_COUNT; ++row) {
        const int top = FIRST_ROW_TOP + row * ROW_HEIGHT;
        glColor3ub(200, 200, 200);
        text(12, top + 4, KEY_ROWS[row].action);
        for (int player = 0; player < 2; ++player)
            drawKey(KEY_ROWS[row].keys[player], KEY_LEFT[player], top, board.held[row][player]);
    }
    int top = FIRST_ROW_TOP + KEY_ROW_COUNT * ROW_HEIGHT + 12;
    glColor3ub(230, 230, 230);
    text(12, top, "held now: " + std::to_string(board.heldCount));
    top += 18;
    text(12, top, "most held at once: " + std::to_string(board.mostAtOnce));
    glColor3ub(150, 200, 255);
    wrappedText(160, top, board.mostAtOnceLabels);
    glColor3ub(150, 150, 150);
    text(12, height - 22, "Hold keys together; a key that does not light was dropped. Esc quits.");
    glutSwapBuffers();
    showTitle();
}

void reshape(int w, int h) {
    width = w;
    height = h;
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, w, 0, h, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void record(bool special, int code, bool down) {
    board.press(special, code, down);
    glutPostRedisplay();
}

void keyDown(unsigned char key, int, int) {
    if (key == ESCAPE)
        glutLeaveMainLoop();
    else
        record(false, key, true);
}
void keyUp(unsigned char key, int, int) { record(false, key, false); }
void specialDown(int code, int, int) { record(true, code, true); }
void specialUp(int code, int, int) { record(true, code, false); }

} // namespace

int main(int argc, char** argv) {
    if (answerStandardOption(argc, argv, "kelvidron-keycheck", USAGE))
        return 0;
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGBA);
    glutInitWindowSize(WIDTH, HEIGHT);
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
    glutCreateWindow("Kelvidron key check");
    // As in the game: a held key gives one down and one up, never repeats.
    glutIgnoreKeyRepeat(1);
    glutDisplayFunc(display);
    glutReshapeFunc(reshape);
    glutKeyboardFunc(keyDown);
    glutKeyboardUpFunc(keyUp);
    glutSpecialFunc(specialDown);
    glutSpecialUpFunc(specialUp);
    glutMainLoop();
    std::printf("most keys held at once: %d", board.mostAtOnce);
    if (board.mostAtOnce > 0)
        std::printf(" (%s)", board.mostAtOnceLabels.c_str());
    std::printf("\n");
    return 0;
}
