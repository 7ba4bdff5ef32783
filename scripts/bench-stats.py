#!/usr/bin/env python3
"""Turns the paired runs of benchmarks into one table: bench / floor / median ratio / range / n.

Usage: <benchmark> | bench-stats.py [--goal BENCH=RATIO ...]   or   bench-stats.py FILE...
Reads lines written by tests/support/bench/PairedRuns.h (or by a script in the same form):
    pair <TAB> bench <TAB> floor <TAB> floor seconds <TAB> bench seconds
    peer <TAB> bench <TAB> peer name <TAB> peer seconds <TAB> bench seconds
Other lines are passed through. The ratio of a pair is bench seconds / floor seconds (lower is better); the table
gives the median of the pairs, their range and their number, with the medians of both sides in seconds. A peer
(a native program such as Info-ZIP or GNU) is context only: its median time and the median of its ratios.
While reading, the load of the machine is sampled every second (1-minute load average) and printed with the table;
each row also gives the median load read as its pairs arrived, beside its ratio.
The output is wrong, and the exit status 1, when a bench has fewer pairs than QUORVEL_BENCH_PAIRS (or --pairs)
asks for, when a time is not a positive number, or when nothing was paired at all.
"""
import argparse
import os
import statistics
import sys
import threading
import time


def median(values):
    return statistics.median(values) if values else float("nan")


class LoadSampler:
    def __init__(self):
        self.samples = []
        self.sample()
        self.stop = threading.Event()
        self.thread = threading.Thread(target=self.run, daemon=True)

    def sample(self):
        try:
            with open("/proc/loadavg") as f:
                self.samples.append(float(f.read().split()[0]))
        except OSError:
            pass

    def run(self):
        while not self.stop.wait(1.0):
            self.sample()

    def summary(self):
        if not self.samples:
            return "load: not sampled"
        return "load while measuring (1-min average, %d cores): median %.1f, range %.1f-%.1f" % (
            os.cpu_count() or 0, median(self.samples), min(self.samples), max(self.samples))


def current_load():
    try:
        with open("/proc/loadavg") as f:
            return float(f.read().split()[0])
    except OSError:
        return float("nan")


def read(lines, pairs, peers, loads, errors, echo):
    for raw in lines:
        line = raw.rstrip("\r\n")
        fields = line.split("\t")
        kind = fields[0].strip()
        if kind in ("pair", "peer") and len(fields) == 5:
            try:
                key = (fields[1], fields[2])
                value = (float(fields[3]), float(fields[4]))
            except ValueError:
                errors.append("not a time: " + line)
                print(line, flush=True)
                continue
            if not (value[0] > 0 and value[1] > 0):
                errors.append("not a positive time: " + line)
                continue
            (pairs if kind == "pair" else peers).setdefault(key, []).append(value)
            loads.setdefault(key, []).append(current_load())
            if echo:
                print("  %s %s: %s %.3f s, bench %.3f s, ratio %.3f" % (
                    kind, fields[1], fields[2], value[0], value[1], value[1] / value[0] if value[0] else 0),
                    flush=True)
        else:
            print(line, flush=True)


def table(pairs, peers, loads, goals):
    rows = [("bench", "floor", "median ratio", "range", "n", "load", "floor s", "bench s", "goal")]
    for (name, floor), values in pairs.items():
        ratios = [b / f for f, b in values if f > 0]
        goal = goals.get(name + "/" + floor, goals.get(name))
        m = median(ratios)
        rows.append((name, floor, "%.3fx" % m, "%.3f-%.3f" % (min(ratios), max(ratios)) if ratios else "-",
                     str(len(ratios)), "%.1f" % median(loads.get((name, floor), [])), "%.3f" % median([f for f, _ in values]), "%.3f" % median([b for _, b in values]),
                     ("<= %.2fx %s" % (goal, "met" if m <= goal else "NOT met")) if goal else ""))
    widths = [max(len(r[i]) for r in rows) for i in range(len(rows[0]))]
    for r in rows:
        print("  ".join(c.ljust(w) for c, w in zip(r, widths)).rstrip())
    for (name, peer), values in peers.items():
        ratios = [b / p for p, b in values if p > 0]
        print("context: %s beside %s (native): peer %.3f s, bench %.3f s, bench/peer median %.2fx (n=%d)" % (
            name, peer, median([p for p, _ in values]), median([b for _, b in values]), median(ratios), len(ratios)))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("files", nargs="*", help="saved benchmark output (default: standard input)")
    parser.add_argument("--goal", action="append", default=[], metavar="BENCH[/FLOOR]=RATIO",
                        help="the ratio a bench (against that floor, or any) should stay at or below")
    parser.add_argument("--pairs", type=int, default=int(os.environ.get("QUORVEL_BENCH_PAIRS", "0") or 0),
                        help="pairs every bench must have (default: QUORVEL_BENCH_PAIRS, 0 for no check)")
    parser.add_argument("--quiet", action="store_true", help="do not echo each pair")
    args = parser.parse_args()
    goals = {}
    for g in args.goal:
        name, _, ratio = g.rpartition("=")
        goals[name] = float(ratio)
    pairs, peers, loads, errors = {}, {}, {}, []
    sampler = LoadSampler()
    if args.files:
        for path in args.files:
            with open(path, errors="replace") as f:
                read(f, pairs, peers, loads, errors, not args.quiet)
        load = "load: not sampled (read from files)"
    else:
        sampler.thread.start()
        read(sys.stdin, pairs, peers, loads, errors, not args.quiet)
        sampler.stop.set()
        load = sampler.summary()
    if not pairs and not peers:
        print("bench-stats: no paired runs found", file=sys.stderr)
        return 1
    table(pairs, peers, loads, goals)
    print(load)
    for (name, floor), values in pairs.items():
        if len(values) < args.pairs:
            errors.append("%s against %s: %d of %d pairs" % (name, floor, len(values), args.pairs))
    for error in errors:
        print("bench-stats: wrong output: " + error, file=sys.stderr)
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
