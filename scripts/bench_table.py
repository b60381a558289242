#!/usr/bin/env python3
"""Prints one table of the game's benchmark figures from the JSON files that the
benchmark programs wrote into a folder (see run-benchmarks.sh), with the targets
and whether each is met. Frame figures are also given as a ratio to their floor,
both measured in the same run of frame_bench."""
import json
import pathlib
import sys

UNIT_SCALE = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}  # to milliseconds


def load_runs(folder):
    """name -> run; a median over repetitions wins over the single runs."""
    runs = {}
    for path in sorted(pathlib.Path(folder).glob("*.json")):
        try:
            data = json.loads(path.read_text())
        except ValueError as error:
            print(f"warning: {path} is not a benchmark result ({error})", file=sys.stderr)
            continue
        for run in data.get("benchmarks", []):
            name = run.get("run_name", run["name"])
            if run.get("run_type") == "aggregate":
                if run.get("aggregate_name") == "median":
                    runs[name] = run
            elif name not in runs or runs[name].get("run_type") != "aggregate":
                runs[name] = run
    return runs


class Table:
    def __init__(self, runs):
        self.runs = runs
        self.rows = []
        self.missing = []
        self.read = []  # every benchmark name the table looks up

    def run(self, name):
        self.read.append(name)
        run = self.runs.get(name)
        if run is None or run.get("error_occurred"):
            self.missing.append(name + (f" ({run.get('error_message')})" if run else ""))
            return None
        return run

    def ms(self, name, cpu=False):
        """Time per iteration in ms: wall time, or CPU time for pure computation."""
        run = self.run(name)
        if run is None:
            return None
        return run["cpu_time" if cpu else "real_time"] * UNIT_SCALE[run["time_unit"]]

    def counter(self, name, key):
        run = self.run(name)
        return None if run is None or key not in run else float(run[key])

    def section(self, title):
        self.rows.append(("section", title))

    def row(self, what, value, unit, floor=None, limit=None, target="", on_ratio=False,
            cpu=None):
        """limit: the figure must stay below it, or with on_ratio its ratio to the
        floor must not exceed it; target is how the limit reads; cpu is the CPU
        time of all threads in ms, where measured."""
        self.rows.append(("row", what, value, unit, floor, limit, target, on_ratio, cpu))

    def print(self):
        header = ("What", "Figure", "CPU", "x floor", "Target", "Met")
        lines = []
        for entry in self.rows:
            if entry[0] == "section":
                lines.append(("", "", "", "", "", ""))
                lines.append((entry[1], "", "", "", "", ""))
                continue
            _, what, value, unit, floor, limit, target, on_ratio, cpu = entry
            figure = "n/a" if value is None else f"{value:,.{3 if value < 10 else 1}f} {unit}"
            ratio = None
            if value is not None and floor:
                ratio = value / floor
            met = ""
            if limit is not None:
                if value is None or (on_ratio and ratio is None):
                    met = "?"
                elif on_ratio:
                    met = "yes" if ratio <= limit else "NO"
                else:
                    met = "yes" if value < limit else "NO"
            lines.append(("  " + what, figure, "" if cpu is None else f"{cpu:,.{3 if cpu < 10 else 1}f} ms",
                          "" if ratio is None else f"{ratio:.2f}", target, met))
        widths = [max(len(line[i]) for line in lines + [header]) for i in range(6)]
        rule = "-+-".join("-" * w for w in widths)

        def fmt(line):
            return " | ".join(
                cell.ljust(w) if i in (0, 4) else cell.rjust(w)
                for i, (cell, w) in enumerate(zip(line, widths))).rstrip()

        print(fmt(header))
        print(rule)
        for line in lines[1:]:
            print(fmt(line))
        if self.missing:
            print("\nmissing or failed: " + "; ".join(self.missing))


def build(runs):
    t = Table(runs)

    t.section("Simulation step (CPU time)")
    step = "BM_SimulationStep/{}"
    for shots, limit in ((0, 20000), (100, 200000), (1000, None)):
        ms = t.ms(step.format(shots), cpu=True)
        what = "initial world" if shots == 0 else f"{shots} live shots"
        t.row(what, None if ms is None else ms * 1e6, "ns", limit=limit,
              target="" if limit is None else f"< {limit:,} ns")

    t.section("Duel state, 100 live shots and four explosions (CPU time)")
    for name, what, limit in (("BM_SaveDuelState", "save", 5000),
                              ("BM_RestoreDuelState", "restore", 5000),
                              ("BM_DuelStateHash", "hash", None)):
        ms = t.ms(name, cpu=True)
        t.row(what, None if ms is None else ms * 1e6, "ns", limit=limit,
              target="" if limit is None else f"< {limit:,} ns")

    t.section("Replays (CPU time)")
    t.row("check: ten minutes, both firing every tenth step (60,000 steps)",
          t.ms("BM_CheckTenMinuteDuel/iterations:3", cpu=True), "ms", limit=1000,
          target="< 1,000 ms")
    record = "BM_RecordStep"
    t.row("recording: per step on the game's thread", t.counter(record, "us_per_step"), "us",
          limit=2, target="< 2 us")
    t.row("recording: bytes per minute of play", t.counter(record, "bytes_per_minute"), "B")

    t.section("Computer pilot, one step's decision (CPU time)")
    for name, what in (("BM_PilotDecision", "on average in a duel"),
                       ("BM_PilotDearestStep", "a step with a fresh look and a shot check")):
        for shots in (0, 100):
            for level in (1, 2, 3):
                ms = t.ms(f"{name}/{level}/{shots}", cpu=True)
                extra = "" if shots == 0 else ", 100 more shots in flight"
                t.row(f"level {level}, {what}{extra}", None if ms is None else ms * 1e6, "ns",
                      limit=20000, target="< 20,000 ns")

    t.section("Start-up")
    t.row("loadTextures (whole)", t.ms("BM_LoadTextures/min_time:3.000"), "ms")
    for resolution in (100, 200, 400):
        t.row(f"relief build, resolution {resolution} (four at start-up)",
              t.ms(f"BM_ReliefBuild/{resolution}"), "ms")
    t.row("mipmap uploads of the twelve images", t.ms("BM_MipmapUploads/min_time:3.000"), "ms")
    t.row("buildModels", t.ms("BM_BuildModels"), "ms")
    t.row("start-up to the first drawn frame", t.ms("BM_StartupToFirstFrame/iterations:5/manual_time"),
          "ms", limit=1000, target="< 1,000 ms")

    t.section("Frame at 1039x522, two 514x512 views (wall time, ends with glFinish)")
    clear = t.ms("BM_FloorClearSwap/real_time")
    relief = t.ms("BM_FloorFinestReliefs/real_time")
    def cpu(name):
        return t.counter(name, "cpu_all_threads_ms")

    t.row("floor: clear both views and swap", clear, "ms", floor=clear,
          cpu=cpu("BM_FloorClearSwap/real_time"))
    t.row("floor: only the finest relief list in each view", relief, "ms", floor=relief,
          cpu=cpu("BM_FloorFinestReliefs/real_time"))
    scenes = (
        ("start", "start position (no planet in view)", clear, 16.0, "< 16 ms"),
        ("planets", "a planet at its finest level in each view", relief, 0.8, "<= 0.8 x floor"),
        ("battle", "ships face to face, 100 shots, 4 explosions", clear, None, ""),
    )
    parts = (("view_setup_ms", "view set-up (material, clear, camera, light)"),
             ("sky_box_ms", "star box"), ("planets_ms", "planets"),
             ("shots_ships_ms", "shots and ships"), ("explosions_ms", "explosions"),
             ("overlay_ms", "overlay"), ("swap_ms", "buffer swap"))
    for scene, what, floor, limit, target in scenes:
        value = t.ms(f"BM_Frame/{scene}/real_time")
        t.row(what, value, "ms", floor=floor, limit=limit, target=target,
              on_ratio=target.endswith("floor"), cpu=cpu(f"BM_Frame/{scene}/real_time"))
        name = f"BM_FrameParts/{scene}/real_time"
        for key, part in parts:
            t.row("   " + part, t.counter(name, key), "ms", floor=floor,
                  cpu=t.counter(name, key + "_cpu"))

    # A flight past each relief planet at its finest level, culled against unculled in
    # the same run: the unculled median is the floor of both.
    flight = "BM_FlightPastReliefs/{}/iterations:48/real_time"
    unculled = t.counter(flight.format("unculled"), "median_ms")
    for variant, limit, target in (("unculled", None, ""),
                                   ("culled", 0.8, "<= 0.8 x unculled")):
        name = flight.format(variant)
        t.row(f"flight past the reliefs, {variant}: median frame", t.counter(name, "median_ms"),
              "ms", floor=unculled, limit=limit, target=target, on_ratio=limit is not None,
              cpu=cpu(name))
        t.row("   worst frame", t.counter(name, "worst_ms"), "ms", floor=unculled)

    t.section("Model lists (one view, 514x512)")
    models = ("first ship", "second ship", "cockpit", "tilting model")
    for i, model in enumerate(models):
        t.row(f"compile {model}", t.ms(f"BM_CompileModelList/{i}"), "ms")
    for i, model in enumerate(models):
        t.row(f"draw {model} (with a clear)", t.ms(f"BM_DrawModelList/{i}"), "ms")

    t.section("Orientation maths (CPU time)")
    for name, what in (("BM_TurnFrame", "turnFrame"), ("BM_InvertMatrix4", "invertMatrix4")):
        ms = t.ms(name, cpu=True)
        t.row(what, None if ms is None else ms * 1e6, "ns")

    t.section("Sound (SDL's disk driver as the device)")
    t.row("making the four sounds at start-up (CPU)", t.ms("BM_MakeSounds", cpu=True), "ms")
    for name, what in (("BM_HearBusyStep", "a step with shots, a hit, an explosion (CPU)"),
                       ("BM_HearQuietStep", "a step with nothing to hear (CPU)")):
        ms = t.ms(name, cpu=True)
        t.row(what, None if ms is None else ms * 1e6, "ns")
    mix = t.ms("BM_MixPerDrawnFrame/iterations:10/manual_time")
    t.row("mixing per 60 Hz frame, every voice sounding (audio thread CPU)",
          None if mix is None else mix * 1e3, "us")
    latency = "BM_EventToFirstSample/iterations:100/manual_time"
    t.row("a step's event to its first sample, median", t.counter(latency, "median_ms"), "ms")
    t.row("a step's event to its first sample, worst", t.counter(latency, "max_ms"), "ms")

    t.section("Video, 1038x522 H.264 and AAC (drawn, read back, converted, encoded; wall time)")
    for scene, what in (("start", "start position"), ("planets", "above two relief planets")):
        name = f"BM_VideoFrame/{scene}/min_time:5.000/real_time"
        t.row(f"frames per second, {what}", t.counter(name, "items_per_second"), "/s",
              cpu=t.counter(name, "cpu_all_threads_ms"))

    t.section("Resident memory (60,000 steps of scripted play, a frame every 50)")
    memory = "BM_MemoryAfterTenMinutes/iterations:1"
    t.row("after start-up (first frame drawn)", t.counter(memory, "rss_start_MiB"), "MiB")
    t.row("   of which the process's own (anonymous)", t.counter(memory, "anon_start_MiB"), "MiB")
    t.row("after ten minutes of play", t.counter(memory, "rss_end_MiB"), "MiB")
    t.row("   of which the process's own (anonymous)", t.counter(memory, "anon_end_MiB"), "MiB")
    t.row("   after freed memory is handed back (malloc_trim)",
          t.counter(memory, "rss_end_trimmed_MiB"), "MiB")

    t.section("Online duel (two headless sides on loopback through the impairing relay)")
    t.row("longest rollback: restore and 15 steps again, 30 shots, 4 explosions (CPU)",
          t.ms("BM_LongestRollback", cpu=True), "ms", limit=0.5, target="< 0.5 ms")
    for case, what in (("clean", "clean link"), ("latency_50ms", "50 ms each way"),
                       ("latency_100ms_jitter_20ms", "100 ms each way, 20 ms jitter"),
                       ("loss_5pc", "5% loss"), ("loss_bursts_20pc", "bursts of 20% loss"),
                       ("duplication_reordering", "duplication and reordering")):
        name = f"BM_OnlineDuel/{case}/iterations:1"
        t.row(f"{what}: bytes/s the host sends, headers included",
              t.counter(name, "host_sent_Bps"), "B/s", limit=4000, target="< 4 KB/s")
        t.row("   bytes/s the joiner sends", t.counter(name, "joiner_sent_Bps"), "B/s",
              limit=4000, target="< 4 KB/s")
        t.row("   rollbacks per minute, host", t.counter(name, "host_rollbacks_per_min"), "")
        t.row("   rollbacks per minute, joiner", t.counter(name, "joiner_rollbacks_per_min"), "")
        t.row("   longest rollback", t.counter(name, "longest_rollback_steps"), "steps")
        t.row("   stalls per minute", t.counter(name, "stalls_per_min"), "")
        t.row("   a shot read on one side to its step on the other",
              t.counter(name, "shot_to_other_side_ms"), "ms")
    t.row("frame at the start position, the game's two views",
          t.ms("BM_StartFrame/two_views/real_time"), "ms")
    t.row("frame at the start position, one view alone (the online window)",
          t.ms("BM_StartFrame/single_view/real_time"), "ms")
    return t


def main():
    if len(sys.argv) == 2 and sys.argv[1] == "--names":
        # The names the table needs, for checking them against the programs' lists.
        print("\n".join(dict.fromkeys(build({}).read)))
        return 0
    if len(sys.argv) != 2:
        print("usage: bench_table.py FOLDER-OF-JSON-RESULTS | --names", file=sys.stderr)
        return 2
    table = build(load_runs(sys.argv[1]))
    table.print()
    return 1 if table.missing else 0


if __name__ == "__main__":
    sys.exit(main())
