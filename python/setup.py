"""Builds orvane._orvane, the extension over liborvane.a and orvane/orvane.h.

The library comes from, in this order:
  ORVANE_PREFIX     an installed tree (cmake --install BUILD --prefix DIR);
  ORVANE_BUILD_DIR  a configured CMake build of this repository: its library
                    target (orvane_library) is built there, the header
                    comes from the sources it was configured from;
  otherwise         the repository around this folder, configured with
                    -DORVANE_CORE_ONLY=ON (no Qt: cmake and a C++20 compiler
                    are all it needs) in setuptools' build folder.
"""

import os
import re
import shutil
import subprocess
import sys
from pathlib import Path

from pybind11.setup_helpers import Pybind11Extension
from setuptools import setup
from setuptools.command.build_ext import build_ext

HERE = Path(__file__).resolve().parent
ROOT = HERE.parent


def project_version():
    cmake_lists = ROOT / "CMakeLists.txt"
    if cmake_lists.is_file():
        found = re.search(r"project\(Orvane VERSION ([0-9.]+)", cmake_lists.read_text())
        if found:
            return found.group(1)
    return "0"


def run(command):
    print(" ".join(str(part) for part in command), flush=True)
    subprocess.run([str(part) for part in command], check=True)


class BuildWithLibrary(build_ext):
    """Finds or builds liborvane.a before the extension is compiled."""

    def run(self):
        include, archive = self.library()
        if not (include / "orvane" / "orvane.h").is_file() or not archive.is_file():
            sys.exit(f"orvane: no orvane/orvane.h in {include} or no {archive}")
        for extension in self.extensions:
            extension.include_dirs.append(str(include))
            extension.extra_objects.append(str(archive))
        # The module is linked again whatever the dates say: the library may
        # have come from another build than last time.
        self.force = True
        super().run()

    def library(self):
        """The include folder and liborvane.a."""
        if os.environ.get("ORVANE_PREFIX"):
            prefix = Path(os.environ["ORVANE_PREFIX"]).resolve()
            return prefix / "include", only(prefix.glob("lib*/**/liborvane.a"), prefix)
        jobs = os.environ.get("ORVANE_JOBS", str(os.cpu_count() or 1))
        if os.environ.get("ORVANE_BUILD_DIR"):
            build = Path(os.environ["ORVANE_BUILD_DIR"]).resolve()
            cache = (build / "CMakeCache.txt").read_text()
            source = Path(re.search(r"^CMAKE_HOME_DIRECTORY:INTERNAL=(.*)$", cache, re.M).group(1))
        else:
            source = ROOT
            if not (source / "include" / "orvane" / "orvane.h").is_file():
                sys.exit("orvane: build from a clone of the repository, or set ORVANE_PREFIX or ORVANE_BUILD_DIR")
            build = Path(self.build_temp).resolve() / "orvane-core"
            generator = ["-G", "Ninja"] if shutil.which("ninja") else []
            run(["cmake", "-S", source, "-B", build, *generator, "-DCMAKE_BUILD_TYPE=Release",
                 "-DORVANE_CORE_ONLY=ON"])
        run(["cmake", "--build", build, "--target", "orvane_library", "-j", jobs])
        # The library target's output; the build's tests may install copies elsewhere in it.
        return source / "include", only(build.glob("src/**/liborvane.a"), build / "src")


def only(found, where):
    archives = sorted(found)
    if len(archives) != 1:
        sys.exit(f"orvane: {len(archives)} liborvane.a under {where}, not one")
    return archives[0]


setup(
    version=project_version(),
    ext_modules=[
        Pybind11Extension(
            "orvane._orvane",
            ["src/module.cpp"],
            cxx_std=20,
            libraries=["dl"] if sys.platform.startswith("linux") else [],
            # The library's own symbols stay inside the module.
            extra_link_args=["-Wl,--exclude-libs,ALL"] if sys.platform.startswith("linux") else [],
        )
    ],
    cmdclass={"build_ext": BuildWithLibrary},
)
