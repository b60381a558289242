#!/usr/bin/env python3
"""The floor check: no source file includes a header of a floor above its own, and
the simulation and the math know nothing of OpenGL, sound or devices.

Usage: check_floors.py SOURCE_DIR   checks the tree; exit status 1 on a violation
       check_floors.py --self-test  plants violations in scratch trees and expects each caught

The rule goes by top-level folder, so a folder added later is covered without
editing this file: unless it is listed below it stands on render's floor (it draws,
plays or reads devices on top of the world, the assets and the math). A header may
be included from its own folder or from any floor below; never sideways (world/ and
assets/ share a floor and stand on math/ alone) and never from above.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

FLOORS = {
    "math": 0,
    "world": 1,
    "assets": 1,
    "render": 2,
    "app": 3,
    # Built on the whole library.
    "tools": 4,
    "bench": 4,
    "fuzz": 4,
    "tests": 4,
}
DEFAULT_FLOOR = FLOORS["render"]
# Folders whose code must not know of OpenGL, GLU, GLUT, sound or input devices.
DEVICE_FREE = {"math", "world"}
DEVICE_HEADER = re.compile(r"^(GL|GLES\d*|EGL|KHR|SDL\d*|AL|X11|alsa|pulse|linux)/|^SDL|^glut|^portaudio")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".cc", ".inl")


def source_folders(root):
    """Top-level folders holding sources, without hidden folders and build trees."""
    for name in sorted(os.listdir(root)):
        path = os.path.join(root, name)
        if name.startswith(".") or not os.path.isdir(path):
            continue
        if name.startswith("build") or os.path.exists(os.path.join(path, "CMakeCache.txt")):
            continue
        yield name


def floor_of(folder):
    return FLOORS.get(folder, DEFAULT_FLOOR)


def included_folder(root, folders, source, header):
    """The top-level folder a quoted or angled include names, or None (a system or
    include-path-relative header)."""
    if header.startswith("."):
        target = os.path.normpath(os.path.join(os.path.dirname(source), header))
        relative = os.path.relpath(target, root)
        first = relative.split(os.sep)[0]
    else:
        first = header.split("/")[0] if "/" in header else None
    return first if first in folders else None


def violations(root):
    root = os.path.abspath(root)
    folders = set(source_folders(root))
    found = []
    for folder in sorted(folders):
        for directory, subdirs, files in os.walk(os.path.join(root, folder)):
            subdirs[:] = sorted(d for d in subdirs if not d.startswith("."))
            for name in sorted(files):
                if not name.endswith(SOURCE_SUFFIXES):
                    continue
                path = os.path.join(directory, name)
                shown = os.path.relpath(path, root)
                with open(path, encoding="utf-8", errors="replace") as f:
                    for number, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        if not m:
                            continue
                        header = m.group(2)
                        closing = '"' if m.group(1) == '"' else ">"
                        where = f"{shown}:{number}: includes {m.group(1)}{header}{closing}"
                        if folder in DEVICE_FREE and DEVICE_HEADER.search(header):
                            found.append(f"{where}, but {folder}/ knows nothing of OpenGL, "
                                         "sound or devices")
                            continue
                        other = included_folder(root, folders, path, header)
                        if other is None or other == folder:
                            continue
                        if floor_of(other) >= floor_of(folder):
                            found.append(f"{where}, but {other}/ (floor {floor_of(other)}) is not "
                                         f"below {folder}/ (floor {floor_of(folder)})")
    return found


def self_test():
    """Each planted include must be reported; the clean tree must pass."""
    clean = {
        "math/vec3.h": "#include <cmath>\n",
        "world/body.h": '#include "math/vec3.h"\n',
        "assets/tga_reader.cpp": '#include "math/vec3.h"\n#include <cstdio>\n',
        "render/ship_drawing.cpp": '#include "world/body.h"\n#include "assets/tga_reader.h"\n'
                                   "#include <GL/gl.h>\n",
        "sound/mixer.cpp": '#include "world/body.h"\n#include <SDL.h>\n',
        "app/main.cpp": '#include "render/ship_drawing.h"\n#include "sound/mixer.h"\n',
        "tests/unit/body_test.cpp": '#include "app/main.h"\n#include "world_fixture.h"\n',
        "build-x/CMakeCache.txt": "",
        "build-x/generated/model_data.cpp": '#include "app/main.h"\n',
    }
    planted = {
        "world/world.cpp": '#include "render/models.h"\n',
        "world/collision.cpp": "#include <GL/gl.h>\n",
        "math/frame.h": '#include "world/body.h"\n',
        "assets/textures.cpp": '#include "world/world.h"\n',
        "render/overlay.cpp": '#include "app/window_record.h"\n',
        "render/views.cpp": '#include "sound/mixer.h"\n',
        "input/pads.cpp": '#include "app/keyboard.h"\n',
        "world/sub/deep.h": '#include "../../render/lighting.h"\n',
    }
    failures = []

    def make_tree(extra):
        root = tempfile.mkdtemp(prefix="floors-")
        for name, text in {**clean, **extra}.items():
            os.makedirs(os.path.dirname(os.path.join(root, name)), exist_ok=True)
            with open(os.path.join(root, name), "w") as f:
                f.write(text)
        return root

    root = make_tree({})
    if violations(root):
        failures.append(f"clean tree reported: {violations(root)}")
    shutil.rmtree(root)
    for name, text in planted.items():
        root = make_tree({name: text})
        if not any(v.startswith(name + ":") for v in violations(root)):
            failures.append(f"not caught: {name} with {text.strip()}")
        # The command line reports it too, with status 1.
        run = subprocess.run([sys.executable, __file__, root], capture_output=True, text=True)
        if run.returncode != 1 or name not in run.stdout:
            failures.append(f"command line passed {name}")
        shutil.rmtree(root)
    for failure in failures:
        print("floor check self-test:", failure)
    return 1 if failures else 0


def main():
    if sys.argv[1:] == ["--self-test"]:
        return self_test()
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    found = violations(sys.argv[1])
    for v in found:
        print("floor check:", v)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
