"""Files per second through the Python module: the examples on one thread, and
the largest pattern on one and on two threads (the conversion releases the
interpreter lock), in rounds that alternate so that the machine's load falls
on both alike. Prints the load average around the run.

    python_bench.py LARGEST.pat [SECONDS_PER_ROUND] [ROUNDS]
"""

import os
import statistics
import sys
import time
from concurrent.futures import ThreadPoolExecutor
from pathlib import Path

import orvane

EXAMPLES = sorted((Path(__file__).resolve().parents[1] / "examples").glob("*.pat"))


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

    def check(output):
        if output != expected:
            differing.append(len(output))

    def one():
        check(orvane.convert(largest))
        return 1

    with ThreadPoolExecutor(max_workers=2) as pool:
        def two():
            for output in pool.map(orvane.convert, [largest, largest]):
                check(output)
            return 2

        one_thread = []
        two_threads = []
        for _ in range(rounds):
            one_thread.append(rate(one, seconds))
            two_threads.append(rate(two, seconds))
    one_rate = statistics.median(wall for wall, _ in one_thread)
    two_rate = statistics.median(wall for wall, _ in two_threads)
    one_cpu = 1000 / statistics.median(cpu for _, cpu in one_thread)
    two_cpu = 1000 / statistics.median(cpu for _, cpu in two_threads)
    for threads, wall, cpu, runs in [(1, one_rate, one_cpu, one_thread), (2, two_rate, two_cpu, two_threads)]:
        walls = [w for w, _ in runs]
        print(f"largest, wmf, {threads} thread(s): {wall:,.1f} files/s (rounds {min(walls):,.1f}-{max(walls):,.1f}), "
              f"{cpu:.2f} ms of CPU a file")
    print(f"2 threads / 1 thread: {two_rate / one_rate:.2f} (median of {rounds} alternating rounds of {seconds:g} s); "
          f"with two free cores at most {2 * one_cpu / two_cpu:.2f} (CPU a file)")
    print(f"outputs differing from the first: {len(differing)}")
    print("load average after: %.2f %.2f %.2f" % os.getloadavg())
    return 1 if differing else 0


if __name__ == "__main__":
    sys.exit(main())
