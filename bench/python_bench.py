"""Files per second through the Python module: the examples on one thread, and
the largest pattern on one and on two threads (the conversion releases the
interpreter lock), in rounds that alternate so that the machine's load falls
on both alike. Prints the load average around the run and, from the threads'
schedstat, how long a file kept them on a CPU, waiting for one (the load)
and blocked (the interpreter lock, or any other): on a busy machine the
rate of two threads is the share of the CPUs the run gets, but the time on
a CPU and blocked still say what two free cores would give.

    python_bench.py LARGEST.pat [SECONDS_PER_ROUND] [ROUNDS]
"""

import os
import statistics
import sys
import threading
import time
from concurrent.futures import ThreadPoolExecutor
from pathlib import Path

import orvane

EXAMPLES = sorted((Path(__file__).resolve().parents[1] / "examples").glob("*.pat"))


def schedstat():
    """Milliseconds this thread has run on a CPU and waited for one."""
    try:
        with open(f"/proc/self/task/{threading.get_native_id()}/schedstat") as stat:
            run, delay, _ = stat.read().split()
    except OSError:
        return 0.0, 0.0
    return int(run) / 1e6, int(delay) / 1e6


def rate(work, seconds):
    """Runs work() (which converts some files and returns how many) for about
    seconds; returns files per wall second and per CPU second of the process."""
    files = 0
    wall = time.perf_counter()
    cpu = time.process_time()
    while time.perf_counter() - wall < seconds:
        files += work()
    wall = time.perf_counter() - wall
    cpu = time.process_time() - cpu
    return files / wall, files / cpu


def main():
    largest = Path(sys.argv[1]).read_bytes()
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 2.0
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 5
    patterns = [path.read_bytes() for path in EXAMPLES]
    print(f"orvane {orvane.__version__}, {len(patterns)} examples, largest pattern {len(largest)} bytes")
    print("load average before: %.2f %.2f %.2f" % os.getloadavg())

    for format in orvane.formats:
        def examples():
            for pattern in patterns:
                orvane.convert(pattern, format)
            return len(patterns)

        walls = [rate(examples, seconds)[0] for _ in range(rounds)]
        print(f"examples, {format}, 1 thread: {statistics.median(walls):,.0f} files/s "
              f"(rounds {min(walls):,.0f}-{max(walls):,.0f})")

    expected = orvane.convert(largest)
    differing = []

    def largest_round(threads):
        """Files per second on threads threads, and per file the milliseconds
        the threads spent on a CPU, waiting for one, and blocked (the
        interpreter lock or any other)."""
        def worker(_):
            run, delay = schedstat()
            start = time.perf_counter()
            files = 0
            while time.perf_counter() - start < seconds:
                if orvane.convert(largest) != expected:
                    differing.append(threads)
                files += 1
            wall = (time.perf_counter() - start) * 1000
            run_after, delay_after = schedstat()
            return files, run_after - run, delay_after - delay, wall - (run_after - run) - (delay_after - delay)

        with ThreadPoolExecutor(max_workers=threads) as pool:
            start = time.perf_counter()
            done = list(pool.map(worker, range(threads)))
            wall = time.perf_counter() - start
        files = sum(row[0] for row in done)
        return [files / wall] + [sum(row[i] for row in done) / files for i in (1, 2, 3)]

    rounds_by_threads = {1: [], 2: []}
    for _ in range(rounds):
        for threads, runs in rounds_by_threads.items():
            runs.append(largest_round(threads))
    medians = {}
    for threads, runs in rounds_by_threads.items():
        walls = [row[0] for row in runs]
        medians[threads] = [statistics.median(row[i] for row in runs) for i in range(4)]
        rate_, on_cpu, waiting, blocked = medians[threads]
        print(f"largest, wmf, {threads} thread(s): {rate_:,.1f} files/s (rounds {min(walls):,.1f}-{max(walls):,.1f}); "
              f"a file: {on_cpu:.2f} ms on a CPU, {waiting:.2f} ms waiting for one, {blocked:.2f} ms blocked")
    print(f"2 threads / 1 thread: {medians[2][0] / medians[1][0]:.2f} (medians of {rounds} alternating rounds of "
          f"{seconds:g} s); with two free cores: {2 * (medians[1][1] + medians[1][3]) / (medians[2][1] + medians[2][3]):.2f} "
          "(from the time on a CPU and blocked that a file takes)")
    print(f"outputs differing from the first: {len(differing)}")
    print("load average after: %.2f %.2f %.2f" % os.getloadavg())
    return 1 if differing else 0


if __name__ == "__main__":
    sys.exit(main())
