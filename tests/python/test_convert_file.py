"""convert_file() names and saves outputs as orvane-convert does."""

import os
import shutil

import pytest

import orvane
from conftest import EXAMPLES

HOUSE = next(path for path in EXAMPLES if path.name == "house-v1.1.pat")


@pytest.fixture
def house(tmp_path):
    return shutil.copy(HOUSE, tmp_path / "house.pat")


# (out, format, expected output name, expected format)
NAMES = [
    (None, None, "house.wmf", "wmf"),
    (None, "placeable", "house.wmf", "placeable"),
    (None, "svg", "house.svg", "svg"),
    ("folder", "svg", "folder/house.svg", "svg"),
    ("drawing.SVG", None, "drawing.SVG", "svg"),
    ("drawing.pdf", None, "drawing.pdf", "pdf"),
    ("drawing.out", None, "drawing.out", "wmf"),
    ("drawing.wmf", "placeable", "drawing.wmf", "placeable"),
]


@pytest.mark.parametrize("out,format,name,written_format", NAMES)
def test_the_output_is_named_as_orvane_convert_names_it(tmp_path, house, out, format, name, written_format):
    (tmp_path / "folder").mkdir()
    target = None if out is None else tmp_path / out

    saved = orvane.convert_file(house, target, format=format)

    assert saved == tmp_path / name
    assert saved.read_bytes() == orvane.convert(HOUSE.read_bytes(), written_format)


# (output name, format)
REFUSED = [
    ("drawing.svg", "wmf"),
    ("drawing.png", None),
]


@pytest.mark.parametrize("name,format", REFUSED)
def test_an_extension_the_format_does_not_write_is_refused(tmp_path, house, name, format):
    with pytest.raises(ValueError):
        orvane.convert_file(house, tmp_path / name, format=format)

    assert not (tmp_path / name).exists()


def test_a_failed_conversion_keeps_the_existing_output_and_leaves_no_temporary_file(tmp_path, house):
    existing = tmp_path / "house.wmf"
    existing.write_bytes(b"old")

    with pytest.raises(orvane.ConversionError):
        orvane.convert_file(house, width=100_000)

    assert existing.read_bytes() == b"old"
    assert sorted(os.listdir(tmp_path)) == ["house.pat", "house.wmf"]


def test_a_replaced_output_keeps_its_mode_and_a_link_is_followed(tmp_path, house):
    real = tmp_path / "real.wmf"
    real.write_bytes(b"old")
    real.chmod(0o640)
    link = tmp_path / "link.wmf"
    link.symlink_to(real)

    orvane.convert_file(house, link)

    assert link.is_symlink()
    assert real.read_bytes() == orvane.convert(HOUSE.read_bytes())
    assert real.stat().st_mode & 0o777 == 0o640
    assert sorted(os.listdir(tmp_path)) == ["house.pat", "link.wmf", "real.wmf"]


def test_the_input_itself_is_never_the_output(tmp_path, house):
    with pytest.raises(ValueError):
        orvane.convert_file(house, house)

    assert house.read_bytes() == HOUSE.read_bytes()


def test_a_replaced_output_is_a_new_file_so_a_hard_link_keeps_the_old_bytes(tmp_path, house):
    existing = tmp_path / "house.wmf"
    existing.write_bytes(b"old")
    other = tmp_path / "other.wmf"
    other.hardlink_to(existing)

    orvane.convert_file(house)

    assert other.read_bytes() == b"old"
    assert existing.read_bytes() == orvane.convert(HOUSE.read_bytes())


def test_a_save_that_fails_keeps_the_old_output_and_leaves_no_temporary_file(tmp_path, house, monkeypatch):
    existing = tmp_path / "house.wmf"
    existing.write_bytes(b"old")

    def refuse(source, target):
        raise OSError(28, "No space left on device")

    monkeypatch.setattr(os, "replace", refuse)

    with pytest.raises(OSError):
        orvane.convert_file(house)

    assert existing.read_bytes() == b"old"
    assert sorted(os.listdir(tmp_path)) == ["house.pat", "house.wmf"]
