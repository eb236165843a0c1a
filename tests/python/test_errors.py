"""What cannot be converted raises ConversionError with the window's messages; bad
arguments raise ValueError or TypeError before anything is converted."""

import pickle

import pytest

import orvane
from conftest import EXAMPLES, orvane_convert

HOUSE = next(path for path in EXAMPLES if path.name == "house-v1.1.pat")

# (name, pattern bytes, width, status)
FAILURES = [
    ("garbage", b"not a pattern at all", None, "NotLoaded"),
    ("empty", b"", None, "NotLoaded"),
    ("cut in the header", HOUSE.read_bytes()[:3], None, "NotLoaded"),
    ("width too large to apply", HOUSE.read_bytes(), 2**31 - 1, "WidthRefused"),
    ("points beyond a metafile's range", HOUSE.read_bytes(), 100_000, "NotEncoded"),
]


def one_line(message: str) -> str:
    return " ".join(part for part in message.split("\n") if part)


@pytest.mark.parametrize("name,pattern,width,status", FAILURES, ids=[row[0] for row in FAILURES])
def test_a_failure_raises_the_status_and_the_messages_orvane_convert_prints(tmp_path, name, pattern, width, status):
    source = tmp_path / "case.pat"
    source.write_bytes(pattern)
    size = [] if width is None else ["--width", str(width)]
    printed = orvane_convert("-q", *size, "-o", "-", str(source), check=False).stderr.decode().splitlines()

    with pytest.raises(orvane.ConversionError) as raised:
        orvane.convert(pattern, "wmf", width)

    assert raised.value.status == status
    assert [one_line(m) for m in raised.value.messages] == [line.split(": ", 2)[2] for line in printed]
    assert str(raised.value) == "\n".join(raised.value.messages)


def test_messages_break_lines_with_newline_alone():
    with pytest.raises(orvane.ConversionError) as raised:
        orvane.convert(HOUSE.read_bytes(), "wmf", 100_000)

    text = "".join(raised.value.messages)
    assert "\r" not in text
    assert "\n" in text


def test_a_failed_result_is_returned_not_raised():
    result = orvane.convert_result(b"garbage")

    assert result.status == "NotLoaded"
    assert not result.ok
    assert result.data == b""
    assert len(result.messages) == 1


def test_errors_and_results_survive_pickling_for_process_pools():
    with pytest.raises(orvane.ConversionError) as raised:
        orvane.convert(b"garbage")
    result = orvane.convert_result(HOUSE.read_bytes(), "svg")

    error = pickle.loads(pickle.dumps(raised.value))
    copy = pickle.loads(pickle.dumps(result))

    assert error.status == "NotLoaded"
    assert error.messages == raised.value.messages
    assert copy.data == result.data
    assert copy.width == result.width
    assert copy.height == result.height
    assert copy.status == "Converted"


# (name, arguments, keywords, exception)
BAD_ARGUMENTS = [
    ("width zero", (b"", "wmf", 0), {}, ValueError),
    ("width negative", (b"", "wmf", -500), {}, ValueError),
    ("width as text", (b"", "wmf", "500"), {}, TypeError),
    ("width as float", (b"", "wmf", 500.0), {}, TypeError),
    ("width as bool", (b"", "wmf", True), {}, TypeError),
    ("unknown format", (b"", "gif"), {}, ValueError),
    ("format not text", (b"", 3), {}, TypeError),
    ("data as text", ("PAT",), {}, TypeError),
    ("data a number", (5,), {}, TypeError),
    ("defaults not text", (b"",), {"defaults": {"PenWidth": 2}}, TypeError),
    ("defaults not a mapping", (b"",), {"defaults": ["PenWidth"]}, TypeError),
    ("picture folder empty", (b"",), {"picture_folder": ""}, ValueError),
]


@pytest.mark.parametrize("name,arguments,keywords,exception", BAD_ARGUMENTS, ids=[row[0] for row in BAD_ARGUMENTS])
def test_bad_arguments_raise_before_converting(name, arguments, keywords, exception):
    with pytest.raises(exception):
        orvane.convert(*arguments, **keywords)
