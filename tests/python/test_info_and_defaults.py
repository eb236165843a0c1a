"""info() is what --info prints; stored defaults and the picture copy come only when given."""

import json

import pytest

import orvane
from conftest import EXAMPLES, orvane_convert

HOUSE_V1 = next(path for path in EXAMPLES if path.name == "house-v1.1.pat")
WITH_PICTURE = next(path for path in EXAMPLES if "picture" in path.name)


@pytest.mark.parametrize("example", EXAMPLES, ids=lambda path: path.name)
def test_info_is_what_orvane_convert_prints(example):
    printed = json.loads(orvane_convert("--info", str(example)).stdout)

    read = orvane.info(example.read_bytes())

    assert read == printed


def test_info_of_garbage_raises_the_format_message():
    with pytest.raises(orvane.ConversionError) as raised:
        orvane.info(b"garbage")

    assert raised.value.status == "NotLoaded"
    assert len(raised.value.messages) == 1


def test_the_picture_is_copied_only_into_a_folder_given(tmp_path):
    pattern = WITH_PICTURE.read_bytes()

    without = orvane.info(pattern)
    within = orvane.info(pattern, picture_folder=tmp_path)

    assert without["picture"] == {"bytes": within["picture"]["bytes"]}
    assert within["picture"]["path"] == str(tmp_path / "vrtmimage.tmp")
    assert (tmp_path / "vrtmimage.tmp").stat().st_size == within["picture"]["bytes"]


def test_stored_defaults_set_what_a_version_1_pattern_leaves_out():
    read = orvane.info(HOUSE_V1.read_bytes(), defaults={"PenSizeText": "1/32"})

    assert read["settings"]["PenSizeText"] == "1/32"


def test_a_bad_stored_default_names_the_key_and_where_it_came_from():
    with pytest.raises(orvane.ConversionError) as raised:
        orvane.convert(HOUSE_V1.read_bytes(), defaults={"DefWidth": "wide"}, defaults_location="my.ini")

    assert raised.value.status == "NotLoaded"
    assert raised.value.messages[-1].endswith(
        "\n\nThe stored setting DefWidth in the [Pattern] group of my.ini does not hold a valid value."
    )
