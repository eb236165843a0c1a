"""The README's examples of converting a folder (concurrent.futures) and an
archive (Dask) run as printed and write what convert() writes."""

import re
import subprocess
import sys
from pathlib import Path

import orvane
from conftest import EXAMPLES

README = Path(__file__).resolve().parents[2] / "README.md"


def readme_example(marker: str) -> str:
    text = README.read_text()
    section = text[text.index("## Orvane for Python"):]
    blocks = re.findall(r"```python\n(.*?)```", section[:section.index("\n## ", 1)], re.S)
    return next(block for block in blocks if marker in block)


def copy_examples_with_a_broken_one(folder: Path) -> Path:
    folder.mkdir(parents=True)
    for example in EXAMPLES:
        (folder / example.name).write_bytes(example.read_bytes())
    (folder / "broken.pat").write_bytes(b"garbage")
    return folder / "broken.pat"


def test_the_folder_example_converts_every_pattern_into_the_folder_given(tmp_path):
    broken = copy_examples_with_a_broken_one(tmp_path / "in")
    scope = {}
    exec(readme_example("ThreadPoolExecutor"), scope)

    failed = scope["convert_folder"](tmp_path / "in", tmp_path / "out")

    assert list(failed) == [broken]
    assert isinstance(failed[broken], orvane.ConversionError)
    for example in EXAMPLES:
        written = (tmp_path / "out" / example.with_suffix(".svg").name).read_bytes()
        assert written == orvane.convert(example.read_bytes(), "svg"), example.name


def test_the_dask_example_converts_an_archive_beside_its_patterns(tmp_path):
    archive = tmp_path / "archive" / "2019"
    copy_examples_with_a_broken_one(archive)
    (tmp_path / "example.py").write_text(readme_example("dask.distributed"))

    run = subprocess.run([sys.executable, "example.py"], cwd=tmp_path, capture_output=True, text=True, timeout=300)

    assert run.returncode == 0, run.stderr
    assert run.stdout.startswith("archive/2019/broken.pat: The selected file could not be loaded."), run.stdout
    for example in EXAMPLES:
        written = (archive / example.with_suffix(".wmf").name).read_bytes()
        assert written == orvane.convert(example.read_bytes(), "placeable"), example.name
