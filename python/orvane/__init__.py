"""Pattern files (*.pat) to Windows Metafiles, SVG, PDF: the formats in `formats`.

    import orvane
    svg = orvane.convert(open("house-v1.1.pat", "rb").read(), "svg")
    orvane.convert_file("house-v1.1.pat")            # writes house-v1.1.wmf beside it

Conversions release the interpreter lock, so threads convert in parallel.
"""

from __future__ import annotations

import os
import stat
import tempfile
from pathlib import Path
from typing import Mapping, Optional, Union

from ._orvane import ConversionError, ConversionResult, __version__, convert, convert_result, formats, info

__all__ = [
    "ConversionError",
    "ConversionResult",
    "__version__",
    "convert",
    "convert_file",
    "convert_result",
    "extension",
    "formats",
    "info",
]

StrPath = Union[str, "os.PathLike[str]"]

# Both metafiles are .wmf files; every other format is named after itself.
_EXTENSIONS = {"placeable": "wmf"}
# What orvane-convert writes beyond the library's formats: an output named so
# is refused rather than filled with another format.
_OTHER_EXTENSIONS = {"png"}


def extension(format: str) -> str:
    """The extension (without the dot) a file of this format gets: "wmf" for both metafiles."""
    if format not in formats:
        raise ValueError(f"unknown format {format!r} (formats: {', '.join(formats)})")
    return _EXTENSIONS.get(format, format)


def _format_for(out: Optional[Path], format: Optional[str]) -> str:
    """The format asked for, or else the one out's extension names, or else the default."""
    named = None
    if out is not None and out.suffix:
        suffix = out.suffix[1:].lower()
        named = next((name for name in formats if extension(name) == suffix), None)
        if named is None and suffix in _OTHER_EXTENSIONS:
            raise ValueError(f"{out.name}: this module writes no .{suffix} files (formats: {', '.join(formats)})")
    if format is None:
        return named or formats[0]
    if named is not None and extension(format) != suffix:
        raise ValueError(f"format {format!r} does not write {out.name}: its files end in .{extension(format)}")
    return format


def _save_replacing(target: Path, data: bytes) -> None:
    """Writes data to target through a file beside it renamed over it, so that target is
    always either what it was or the whole new file. A link is followed to the file it
    names; a pipe or device is written through."""
    target = Path(os.path.realpath(target))
    try:
        old = os.stat(target)
    except FileNotFoundError:
        old = None
    if old is not None and stat.S_ISDIR(old.st_mode):
        raise IsADirectoryError(21, "Is a directory", str(target))
    if old is not None and not stat.S_ISREG(old.st_mode):
        with open(target, "wb") as stream:
            stream.write(data)
        return
    descriptor, temporary = tempfile.mkstemp(prefix=f".{target.name}.", suffix=".tmp", dir=target.parent)
    try:
        with os.fdopen(descriptor, "wb") as stream:
            stream.write(data)
            stream.flush()
            if old is not None:
                os.chmod(temporary, stat.S_IMODE(old.st_mode))
            else:
                mask = os.umask(0)
                os.umask(mask)
                os.chmod(temporary, 0o666 & ~mask)
            os.fsync(stream.fileno())
        os.replace(temporary, target)
    except BaseException:
        os.unlink(temporary)
        raise


def convert_file(
    path: StrPath,
    out: Optional[StrPath] = None,
    format: Optional[str] = None,
    width: Optional[int] = None,
    *,
    defaults: Optional[Mapping[str, str]] = None,
    defaults_location: Optional[StrPath] = None,
    picture_folder: Optional[StrPath] = None,
) -> Path:
    """Converts the pattern file at path and saves the output as orvane-convert does.

    out names the output file, or a folder to write "<name>.<extension>" into; without it
    the output goes beside the input with the format's extension ("house.pat" ->
    "house.wmf"). The format is the one given, else the one out's extension names, else
    "wmf". An existing output is replaced only by a complete file. Returns the output's
    path; raises ConversionError when the pattern cannot be converted (nothing is
    written), OSError when it cannot be read or the output cannot be saved.
    """
    source = Path(path)
    target = None if out is None else Path(out)
    if target is not None and target.is_dir():
        format = _format_for(None, format)
        target = target / source.with_suffix("." + extension(format)).name
    else:
        format = _format_for(target, format)
        if target is None:
            target = source.with_suffix("." + extension(format))
    data = source.read_bytes()
    if target.exists() and os.path.samefile(target, source):
        raise ValueError(f"{target} is the input file itself")
    output = convert(
        data,
        format,
        width,
        defaults=defaults,
        defaults_location=defaults_location,
        picture_folder=picture_folder,
    )
    _save_replacing(target, output)
    return target
