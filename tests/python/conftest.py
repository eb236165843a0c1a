"""What the tests share: orvane-convert (ORVANE_CONVERT) and the example patterns."""

import os
import subprocess
from pathlib import Path

import pytest

EXAMPLES = sorted((Path(__file__).resolve().parents[2] / "examples").glob("*.pat"))


def orvane_convert(*args: str, check: bool = True) -> subprocess.CompletedProcess:
    program = os.environ.get("ORVANE_CONVERT")
    if not program:
        pytest.fail("ORVANE_CONVERT must name the orvane-convert to compare with")
    return subprocess.run([program, *args], capture_output=True, check=check)


def first_difference(a: bytes, b: bytes) -> str:
    offset = next((i for i, (x, y) in enumerate(zip(a, b)) if x != y), min(len(a), len(b)))
    return f"first difference at offset {offset} (lengths {len(a)} and {len(b)})"
