import os
from typing import Any, Mapping, Optional, Union

_Bytes = Union[bytes, bytearray, memoryview]
_Path = Union[str, bytes, "os.PathLike[str]", "os.PathLike[bytes]"]

__version__: str
# The formats convert() writes, the default ("wmf") first.
formats: tuple[str, ...]

class ConversionError(Exception):
    # "NotLoaded", "WidthRefused" or "NotEncoded".
    status: str
    # What the window would show, in order, with "\n" line breaks.
    messages: list[str]

class ConversionResult:
    @property
    def data(self) -> bytes: ...
    @property
    def width(self) -> int: ...
    @property
    def height(self) -> int: ...
    @property
    def status(self) -> str: ...
    @property
    def messages(self) -> list[str]: ...
    @property
    def ok(self) -> bool: ...

def convert(
    data: _Bytes,
    format: str = "wmf",
    width: Optional[int] = None,
    *,
    defaults: Optional[Mapping[str, str]] = None,
    defaults_location: Optional[_Path] = None,
    picture_folder: Optional[_Path] = None,
) -> bytes: ...
def convert_result(
    data: _Bytes,
    format: str = "wmf",
    width: Optional[int] = None,
    *,
    defaults: Optional[Mapping[str, str]] = None,
    defaults_location: Optional[_Path] = None,
    picture_folder: Optional[_Path] = None,
) -> ConversionResult: ...
def info(
    data: _Bytes,
    *,
    defaults: Optional[Mapping[str, str]] = None,
    defaults_location: Optional[_Path] = None,
    picture_folder: Optional[_Path] = None,
) -> dict[str, Any]: ...
