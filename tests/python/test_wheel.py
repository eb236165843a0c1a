"""The wheel (ORVANE_WHEEL) installs into a fresh virtual environment, where it
needs nothing else, and converts there."""

import os
import subprocess
import venv

import pytest

import orvane
from conftest import EXAMPLES

SCRIPT = "import orvane, sys; sys.stdout.buffer.write(orvane.convert(open(sys.argv[1], 'rb').read(), 'svg'))"


def test_the_wheel_installs_into_a_fresh_environment_and_converts(tmp_path):
    wheel = os.environ.get("ORVANE_WHEEL")
    if not wheel:
        pytest.fail("ORVANE_WHEEL must name the wheel to install")
    venv.create(tmp_path / "env", with_pip=True)
    python = tmp_path / "env" / "bin" / "python"
    subprocess.run([python, "-m", "pip", "install", "--quiet", "--no-index", "--no-deps", wheel], check=True)

    converted = subprocess.run([python, "-c", SCRIPT, EXAMPLES[0]], capture_output=True, check=True, cwd=tmp_path)

    assert converted.stdout == orvane.convert(EXAMPLES[0].read_bytes(), "svg")
