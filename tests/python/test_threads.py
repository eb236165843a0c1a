"""Threads converting at once get the bytes one thread gets."""

from concurrent.futures import ThreadPoolExecutor

import orvane
from conftest import EXAMPLES

ROUNDS = 20


def test_four_threads_write_the_bytes_one_thread_writes():
    jobs = [(path.read_bytes(), format) for path in EXAMPLES for format in orvane.formats] * ROUNDS
    expected = [orvane.convert(data, format) for data, format in jobs]

    with ThreadPoolExecutor(max_workers=4) as pool:
        written = list(pool.map(lambda job: orvane.convert(*job), jobs))

    differing = [i for i, (a, b) in enumerate(zip(written, expected)) if a != b]
    assert differing == [], f"{len(differing)} of {len(jobs)} outputs differ from one thread's"
