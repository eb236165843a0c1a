"""The module writes what orvane-convert writes, in every format the library offers."""

import pytest

import orvane
from conftest import EXAMPLES, first_difference, orvane_convert

WIDTHS = [None, 500]


@pytest.mark.parametrize("width", WIDTHS)
@pytest.mark.parametrize("format", orvane.formats)
@pytest.mark.parametrize("example", EXAMPLES, ids=lambda path: path.name)
def test_every_example_in_every_format_is_what_orvane_convert_writes(example, format, width):
    size = [] if width is None else ["--width", str(width)]
    expected = orvane_convert("-q", "--format", format, *size, "-o", "-", str(example)).stdout

    written = orvane.convert(example.read_bytes(), format, width)

    assert written == expected, first_difference(written, expected)


def test_the_formats_are_the_library_s_with_the_plain_metafile_first():
    assert orvane.formats[:3] == ("wmf", "placeable", "svg")


@pytest.mark.parametrize("kind", [bytes, bytearray, memoryview])
def test_any_bytes_like_input_gives_the_same_output(kind):
    pattern = EXAMPLES[0].read_bytes()

    written = orvane.convert(kind(pattern), "svg")

    assert written == orvane.convert(pattern, "svg")


def test_the_result_carries_the_size_orvane_convert_reports():
    example = EXAMPLES[0]
    line = orvane_convert("--width", "500", "-o", "/dev/null", str(example)).stdout.decode()

    result = orvane.convert_result(example.read_bytes(), "wmf", 500)

    assert line.endswith(f"({result.width} x {result.height} pixels)\n"), line
    assert result.status == "Converted"
    assert result.ok
    assert result.messages == []
