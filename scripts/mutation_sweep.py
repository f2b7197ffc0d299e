#!/usr/bin/env python3
"""Feeds truncated and byte-flipped copies of every corpus file through `tamcad import` and
reports crashes (a signal), hangs (over the time limit), messages without a cause (a bare
"*** ERROR ***  " or "*** WARNING ***  " prefix, or a failure without any message) and console
leaks (reader text on stdout).

    scripts/mutation_sweep.py [-b BUILD_DIR] [-m MUTANTS_PER_FILE] [-t SECONDS] [-j JOBS]
                            [-k KEEP_DIR] [CORPUS_DIR]

Mutants are deterministic (seeded by the file name): truncations at 1, 5, 10, 25, 50, 75, 90
and 99 % of the file and one byte short, then copies with 1, 4, 16 and 64 random bytes
replaced, and copies with a random line deleted or duplicated. Offending mutants are copied into
KEEP_DIR (default build/mutation_sweep/findings) for a look.
"""
import argparse
import concurrent.futures
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import time

TRUNCATIONS = [0.01, 0.05, 0.10, 0.25, 0.50, 0.75, 0.90, 0.99]
FLIPS = [1, 4, 16, 64]
BARE_PREFIX = re.compile(r"^tamcad: \*\*\* (ERROR|WARNING) \*\*\*\s*$", re.M)
REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def mutants(data, seed, count):
    rng = random.Random(seed)
    made = []
    for fraction in TRUNCATIONS:
        made.append(("trunc%d" % int(fraction * 100), data[: int(len(data) * fraction)]))
    made.append(("short1", data[:-1]))
    while len(made) < count:
        kind = len(made) % 3
        copy = bytearray(data)
        if kind == 0 and copy:
            flips = FLIPS[len(made) % len(FLIPS)]
            for _ in range(flips):
                copy[rng.randrange(len(copy))] = rng.randrange(256)
            made.append(("flip%d_%d" % (flips, len(made)), bytes(copy)))
        else:
            lines = data.split(b"\n")
            at = rng.randrange(len(lines))
            if kind == 1:
                del lines[at]
                made.append(("dropline_%d" % len(made), b"\n".join(lines)))
            else:
                lines.insert(at, lines[at])
                made.append(("dupline_%d" % len(made), b"\n".join(lines)))
    return made[:count]


def run_one(tamcad, path, limit):
    for _ in range(60):  # a rebuild may replace the program meanwhile: wait for it
        start = time.time()
        try:
            proc = subprocess.run([tamcad, "import", "-q", "--no-cache", path],
                                  capture_output=True, timeout=limit)
            break
        except subprocess.TimeoutExpired:
            return "hang", time.time() - start, b"", b""
        except OSError:
            time.sleep(5)
    else:
        return "not-run", 0.0, b"", b""
    seconds = time.time() - start
    if proc.returncode < 0 or proc.returncode >= 128 and proc.returncode != 130:
        return "crash", seconds, proc.stdout, proc.stderr
    err = proc.stderr.decode("utf-8", "replace")
    out = proc.stdout.decode("utf-8", "replace")
    if BARE_PREFIX.search(err) or (proc.returncode == 1 and "tamcad: " not in err):
        return "no-cause", seconds, proc.stdout, proc.stderr
    if "\x1b[" in out or (out and not out.startswith("imported ")):
        return "console-leak", seconds, proc.stdout, proc.stderr
    return "ok:%d" % proc.returncode, seconds, proc.stdout, proc.stderr


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("-b", "--build", default=os.path.join(REPO, "build/default"))
    parser.add_argument("-m", "--mutants", type=int, default=27)
    parser.add_argument("-t", "--timeout", type=float, default=60.0)
    parser.add_argument("-j", "--jobs", type=int, default=1)
    parser.add_argument("-k", "--keep", default=os.path.join(REPO, "build/mutation_sweep/findings"))
    parser.add_argument("corpus", nargs="?", default=os.path.join(REPO, "../shared/cad-corpus"))
    args = parser.parse_args()
    tamcad = os.path.join(args.build, "apps/tamcad/tamcad")
    if not os.access(tamcad, os.X_OK):
        sys.exit("mutation_sweep: %s was not built" % tamcad)
    sources = sorted(os.path.join(d, f) for d, _, fs in os.walk(args.corpus) for f in fs
                     if not f.lower().endswith((".md", ".txt")))
    work = tempfile.mkdtemp(prefix="mutation_sweep_")
    jobs = []
    for source in sources:
        with open(source, "rb") as f:
            data = f.read()
        base, ext = os.path.splitext(os.path.basename(source))
        for name, content in mutants(data, base, args.mutants):
            path = os.path.join(work, "%s.%s%s" % (base, name, ext))
            with open(path, "wb") as f:
                f.write(content)
            jobs.append(path)
    print("mutation_sweep: %d mutants of %d files, %d s limit, %d jobs" %
          (len(jobs), len(sources), args.timeout, args.jobs), flush=True)
    counts = {}
    slowest = (0.0, "")
    os.makedirs(args.keep, exist_ok=True)
    started = time.time()
    with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        futures = {pool.submit(run_one, tamcad, path, args.timeout): path for path in jobs}
        for done, future in enumerate(concurrent.futures.as_completed(futures), 1):
            path = futures[future]
            verdict, seconds, out, err = future.result()
            counts[verdict] = counts.get(verdict, 0) + 1
            slowest = max(slowest, (seconds, os.path.basename(path)))
            if not verdict.startswith("ok"):
                shutil.copy(path, args.keep)
                with open(os.path.join(args.keep, os.path.basename(path) + ".log"), "wb") as f:
                    f.write(out + b"\n--- stderr\n" + err)
                print("%s %s (%.1f s)" % (verdict, os.path.basename(path), seconds), flush=True)
            if done % 200 == 0:
                print("... %d of %d" % (done, len(jobs)), flush=True)
    shutil.rmtree(work, ignore_errors=True)
    print("mutation_sweep: %d mutants in %.0f s, slowest %.1f s (%s)" %
          (len(jobs), time.time() - started, slowest[0], slowest[1]))
    for verdict in sorted(counts):
        print("  %-14s %d" % (verdict, counts[verdict]))
    bad = sum(v for k, v in counts.items() if not k.startswith("ok"))
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
