"""Checks the order of the calls one frame of the sub-window makes, from a dump of
an apitrace recording of kelvidron-capture (the last frame it draws)."""
import re
import sys


def fail(message):
    print("frame call order: " + message, file=sys.stderr)
    sys.exit(1)


calls = open(sys.argv[1]).read().splitlines()
swaps = [i for i, c in enumerate(calls) if c.startswith("glXSwapBuffers")]
if len(swaps) < 2:
    fail("expected the top-level window and the sub-window to be swapped")
# The capture draws the top-level window, then the sub-window: the sub-window's
# frame runs from just after the top-level window's swap to the last swap.
frame = calls[swaps[-2] + 1 : swaps[-1] + 1]
structural = [c for c in frame
              if not re.match(r"gl(Vertex|Normal|TexCoord|Color)\w*\(|glBegin|glEnd|glXMakeContextCurrent", c)]


def find(pattern, start=0, end=None):
    end = len(structural) if end is None else end
    for i in range(start, end):
        if re.search(pattern, structural[i]):
            return i
    return -1


def expect_in_order(patterns, start, end, what):
    at = start
    for p in patterns:
        found = find(p, at, end)
        if found < 0:
            fail(f"{what}: '{p}' missing after call {at}: {structural[at:at + 5]}")
        at = found + 1
    return at


head = ["glClearColor\\(red = 0.3, green = 0.3, blue = 0.3, alpha = 0\\)",
        "glShadeModel\\(mode = GL_SMOOTH\\)", "glEnable\\(cap = GL_DEPTH_TEST\\)",
        "glDepthFunc\\(func = GL_LESS\\)"]
at = expect_in_order(head, 0, 8, "frame set-up")

views = [("left", "x = 0, y = 0, width = 514, height = 512",
          "GL_DEPTH_BUFFER_BIT \\| GL_COLOR_BUFFER_BIT"),
         ("right", "x = 519, y = 0, width = 514, height = 512", "GL_DEPTH_BUFFER_BIT\\)")]
for name, viewport, clear in views:
    start = at
    camera = ["glMaterialfv\\(face = GL_FRONT, pname = GL_AMBIENT, params = \\{0.5, 0.5, 0.5, 1\\}\\)",
              "glLightModelfv\\(pname = GL_LIGHT_MODEL_AMBIENT",
              "glViewport\\(" + viewport + "\\)", "glClear\\(mask = " + clear,
              "glMatrixMode\\(mode = GL_PROJECTION\\)", "glLoadIdentity", "glMultMatrixd",
              "glMatrixMode\\(mode = GL_MODELVIEW\\)", "glLoadIdentity",
              "glMultMatrixf", "glTranslatef",
              "glGetFloatv\\(pname = GL_PROJECTION_MATRIX", "glGetFloatv\\(pname = GL_MODELVIEW_MATRIX",
              "glLightfv\\(light = GL_LIGHT0, pname = GL_POSITION, params = \\{5, 6, 5, 0\\}\\)",
              "glEnable\\(cap = GL_TEXTURE_2D\\)", "glBindTexture\\(target = GL_TEXTURE_2D, texture = 1\\)",
              "glDisable\\(cap = GL_TEXTURE_2D\\)"]
    at = expect_in_order(camera, start, len(structural), name + " view camera")
    overlay = find("glClear\\(mask = GL_DEPTH_BUFFER_BIT\\)$", at)
    if overlay < 0:
        fail(name + " view: no overlay")
    if name == "left":
        # The world between the star box and the overlay: a planet (its surface turned by
        # its spin), a shot (a wire cube of its box), the ship (between its own pair of
        # lights) and the explosion's points (colour-material), in that order.
        planet = find("glRotated\\(angle = [0-9.]+, x = 0, y = 1, z = 0\\)", at, overlay)
        shot = find("glScalef\\(x = 0.4, y = 0.4, z = 0.4\\)", at, overlay)
        ship = find("glLightfv\\(light = GL_LIGHT1, pname = GL_POSITION, params = \\{0, 1, 0, 1\\}\\)", at, overlay)
        explosion = find("glEnable\\(cap = GL_COLOR_MATERIAL\\)", at, overlay)
        order = [("planet", planet), ("shot", shot), ("ship", ship), ("explosion", explosion)]
        for what, index in order:
            if index < 0:
                fail(f"left view: no {what} drawn")
        if [i for _, i in order] != sorted(i for _, i in order):
            fail("left view: world drawn out of order: " + str(order))
    overlay_calls = ["glEnable\\(cap = GL_LIGHT1\\)", "glPushMatrix",
                     "glLightfv\\(light = GL_LIGHT1, pname = GL_POSITION, params = \\{0, 1, 9, 1\\}\\)",
                     "glCallList", "glCallList",
                     "glViewport\\(x = \\d+, y = 342, width = 171, height = 170\\)",
                     "glViewport\\(x = \\d+, y = 342, width = 171, height = 170\\)",
                     "glOrtho\\(left = -10, right = 10, bottom = -10, top = 10, zNear = 1, zFar = 100\\)",
                     "glDisable\\(cap = GL_BLEND\\)", "glDisable\\(cap = GL_LIGHT1\\)",
                     "glEnable\\(cap = GL_LIGHT0\\)"]
    at = expect_in_order(overlay_calls, overlay, len(structural), name + " view overlay")

if not structural[-1].startswith("glXSwapBuffers") or find("glXSwapBuffers", 0, len(structural) - 1) >= 0:
    fail("the two views must end with exactly one buffer swap")
print("frame call order: ok (%d calls, %d outside primitives)" % (len(frame), len(structural)))
