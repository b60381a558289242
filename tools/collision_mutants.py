#!/usr/bin/env python3
"""Which unit tests notice a broken contact test: each of the fifteen axes of
boxesOverlap left out, and each row with two indices swapped (a matrix entry
transposed, or the indices of two terms' half-extents or offsets exchanged).

Every mutant of world/collision.cpp is compiled alone and linked ahead of the
game library into a copy of unit_tests, so nothing in the tree changes. Build
unit_tests first. Usage: tools/collision_mutants.py [BUILD_DIR] [-- GTEST_FILTER]
A mutant the suite misses is compared with the real test on random boxes, to
tell one that changes nothing from one the tests let through.
"""
import atexit, itertools, json, os, re, shlex, shutil, subprocess, sys, tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
args = sys.argv[1:]
BUILD = os.path.abspath(args[0] if args and args[0] != "--" else os.path.join(ROOT, "build"))
FILTER = args[args.index("--") + 1] if "--" in args else "-DataImages.*"
SOURCE = os.path.join(ROOT, "world", "collision.cpp")
TMP = tempfile.mkdtemp(prefix="collision-mutants-")
atexit.register(shutil.rmtree, TMP, ignore_errors=True)


def others(i):
    return sorted({0, 1, 2} - {i})


# The fifteen rows in their order, each with the condition on the loop indices that
# picks it out and its fields written out as plain arithmetic on t, R and AbsR.
ROWS = []
for i in range(3):
    ROWS.append((f"a{i}", f"i == {i}", {"rB": " + ".join(f"eB[{k}] * AbsR[{i}][{k}]" for k in range(3))}))
for j in range(3):
    ROWS.append((f"b{j}", f"j == {j}", {"rA": " + ".join(f"eA[{k}] * AbsR[{k}][{j}]" for k in range(3)),
                                        "s": " + ".join(f"t[{k}] * R[{k}][{j}]" for k in range(3))}))
for i, j in itertools.product(range(3), range(3)):
    (k, l), (m, n), p, q = others(i), others(j), (i + 1) % 3, (i + 2) % 3
    ROWS.append((f"a{i} x b{j}", f"i == {i} && j == {j}",
                 {"rA": f"eA[{k}] * AbsR[{l}][{j}] + eA[{l}] * AbsR[{k}][{j}]",
                  "rB": f"eB[{m}] * AbsR[{i}][{n}] + eB[{n}] * AbsR[{i}][{m}]",
                  "s": f"t[{q}] * R[{p}][{j}] - t[{p}] * R[{q}][{j}]"}))

TERM = re.compile(r"(eA|eB|t)\[(\d)\] \* (AbsR|R)\[(\d)\]\[(\d)\]")


def swaps(expr):
    """Each variant of expr with two indices swapped that reads differently."""
    terms = list(TERM.finditer(expr))
    out = []
    def put(edits, what):
        text = expr
        for m, new in sorted(edits, key=lambda e: -e[0].start()):
            text = text[:m.start()] + new + text[m.end():]
        out.append((what, text))
    for m in terms:
        v, x, mat, a, b = m.groups()
        if a != b:
            put([(m, f"{v}[{x}] * {mat}[{b}][{a}]")], f"{mat}[{a}][{b}]->[{b}][{a}]")
    for m1, m2 in itertools.combinations(terms, 2):
        v = m1.group(1)
        put([(m1, f"{v}[{m2.group(2)}] * {m1.group(3)}[{m1.group(4)}][{m1.group(5)}]"),
             (m2, f"{v}[{m1.group(2)}] * {m2.group(3)}[{m2.group(4)}][{m2.group(5)}]")],
            f"{v}[{m1.group(2)}]<->{v}[{m2.group(2)}]")
    return out


def separated_calls(src):
    return [m.start() for m in re.finditer(r"\bseparated\(", src)][1:]  # [0] is its definition


def removal(src, row):
    """The row's separated() call skipped for its loop index."""
    at = separated_calls(src)[0 if row < 3 else 1 if row < 6 else 2]
    return src[:at] + f"!({ROWS[row][1]}) && " + src[at:]


def swapped(src, row, field, new):
    """The row's field computed as new, for its loop index only."""
    calls = separated_calls(src)
    kind = 0 if row < 3 else 1 if row < 6 else 2
    decl = [d for d in re.finditer(rf"const float {field} = ([^;]*);", src)
            if sum(c < d.start() for c in calls) == kind][0]
    return src[:decl.start(1)] + f"({ROWS[row][1]}) ? ({new}) : ({decl.group(1)})" + src[decl.end(1):]


def compile_command():
    """The game's own command for world/collision.cpp, less its input and output."""
    for entry in json.load(open(os.path.join(BUILD, "compile_commands.json"))):
        if entry["file"].endswith("world/collision.cpp"):
            words = [w for w in shlex.split(entry["command"]) if w != "ccache"]
            for flag in ("-o", "-c"):
                at = words.index(flag)
                del words[at:at + 2]
            return words
    sys.exit("world/collision.cpp is not in the build's compile commands")


COMPILE = compile_command()
LINK = subprocess.run(["ninja", "-C", BUILD, "-t", "commands", "unit_tests"], capture_output=True,
                      text=True, check=True).stdout.strip().splitlines()[-1]
LINK = shlex.split(LINK.replace(": && ", "").replace(" && :", ""))


def build(src, name, main=None):
    cpp, obj, exe = (os.path.join(TMP, name + e) for e in (".cpp", ".o", ""))
    open(cpp, "w").write(src)
    subprocess.run(COMPILE + ["-I" + ROOT, "-c", cpp, "-o", obj], check=True)
    if main:
        subprocess.run([COMPILE[0], "-O2", "-I" + ROOT, main, obj, "-o", exe], check=True)
    else:
        # In place of the game's own object when it is linked as one, else ahead of
        # the library that holds it.
        link = [exe if w == "tests/unit_tests" else obj if w.endswith("/collision.cpp.o") else w
                for w in LINK]
        if obj not in link:
            link.insert(1, obj)
        subprocess.run(link, cwd=BUILD, check=True)
    return exe


def failing_tests(exe):
    run = subprocess.run([exe, "--gtest_filter=" + FILTER], cwd=BUILD, capture_output=True, text=True)
    failed = sorted(set(re.findall(r"^\[  FAILED  \] (\S+?)(?: \(|,|$)", run.stdout, re.M)))
    return failed or ([] if run.returncode == 0 else ["(crashed)"])


# Random boxes, the real test against the mutant: any difference means the mutant matters.
COMPARE = r'''
#include "world/collision.h"
#include "math/frame.h"
#include <cstdio>
#include <random>
namespace real {
#include "world/collision.cpp"
}
int main() {
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> u(-1, 1);
    for (int n = 0; n < 200000; ++n) {
        OrientedBox box[2];
        for (OrientedBox& b : box) {
            Vec3 a[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
            turnFrame(a[0], a[1], a[2], 180 * u(rng), 180 * u(rng), 180 * u(rng));
            b = OrientedBox(Vec3(1.1f + u(rng), 1.1f + u(rng), 1.1f + u(rng)),
                            Vec3(2 * u(rng), 2 * u(rng), 2 * u(rng)), a[0], a[1], a[2]);
        }
        if (boxesOverlap(box[0], box[1]) != real::boxesOverlap(box[0], box[1]))
            return std::puts("differs"), 1;
    }
    return 0;
}
'''


def main():
    real = open(SOURCE).read()
    compare = os.path.join(TMP, "compare.cpp")
    open(compare, "w").write(COMPARE.replace("world/collision.cpp", SOURCE))
    missed = 0
    print(f"{'axis':<9} {'mutant':<34} noticed by")
    for row, (axis, _, fields) in enumerate(ROWS):
        mutants = [("left out", removal(real, row))]
        for field, expr in fields.items():
            mutants += [(f"{field}: {what}", swapped(real, row, field, new))
                        for what, new in swaps(expr)]
        for what, src in mutants:
            failed = failing_tests(build(src, "mutant"))
            if not failed:
                same = subprocess.run([build(src, "alone", compare)], capture_output=True).returncode == 0
                failed = ["(none: changes nothing)" if same else "NONE"]
                missed += not same
            print(f"{axis:<9} {what:<34} {' '.join(failed)}", flush=True)
    print(f"{missed} mutants that change the result went unnoticed")
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main())
