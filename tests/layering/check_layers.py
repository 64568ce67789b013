#!/usr/bin/python3
"""Proves the layering of the build: a source file of a lower layer cannot include a header of a layer
above it (the compile fails; ktcore below ktgeo below ktui below ktapp, the simulator's library on ktcore
alone), every header is named by one path only, the core suites link no Qt
GUI or Widgets library, and ktconvert links GDAL and PROJ while the simulator does not.

    check_layers.py BUILD_FOLDER SOURCE_FOLDER
"""
import glob
import json
import os
import shlex
import subprocess
import sys
import tempfile

# Headers of the upper layers, each probed from every layer below it.
GEO_HEADERS = ["formats/geoformats.h", "crs/crs.h", "landxml/landxmlwriter.h"]
UI_HEADERS = ["modal/modal.h", "dialogs/portsettingdialog.h", "dialogs/dialogtexts.h"]
# unsavedrows.h and dialogtexts.h need nothing but the include path: they show that the path itself stops there.
APP_HEADERS = ["window/mainwindow.h", "table/tablerows.h", "plan/planview.h", "table/unsavedrows.h"]
# (layer, folder of its sources, headers it must not reach, a header of its own it must reach)
LAYERS = [
    ("ktcore", "src/core/comm/", GEO_HEADERS + UI_HEADERS + APP_HEADERS, "comm/kt2040_frames.h"),
    ("ktgeo", "src/geo/gis/", UI_HEADERS + APP_HEADERS, "formats/geoformats.h"),
    ("ktsim", "src/sim/", GEO_HEADERS + UI_HEADERS + APP_HEADERS, "simserver.h"),
    ("ktui", "src/ui/dialogs/", APP_HEADERS, "modal/modal.h"),
]
LAYER_ROOTS = ["src/core", "src/geo", "src/sim", "src/ui", "src/app"]


def compile_command(entries, folder):
    """The compiler and flags of one source file of `folder`, without its input and output."""
    for entry in entries:
        if folder in entry["file"].replace(os.sep, "/"):
            args = shlex.split(entry["command"]) if "command" in entry else list(entry["arguments"])
            kept, skip = [], False
            for arg in args:
                if skip:
                    skip = False
                elif arg in ("-o", "-c"):
                    skip = True
                elif arg != entry["file"]:
                    kept.append(arg)
            return kept, entry["directory"]
    raise SystemExit("no source of %s in the compile commands" % folder)


def compiles(command, directory, header, work):
    probe = os.path.join(work, "probe.cpp")
    with open(probe, "w") as f:
        f.write('#include "%s"\nint main() { return 0; }\n' % header)
    result = subprocess.run(command + ["-fsyntax-only", probe], cwd=directory, capture_output=True, text=True)
    return result.returncode == 0


def libraries_of(program):
    """What ldd says a program loads."""
    return subprocess.run(["ldd", program], capture_output=True, text=True).stdout


def main():
    build, source = sys.argv[1], sys.argv[2]
    with open(os.path.join(build, "compile_commands.json")) as f:
        entries = json.load(f)
    failures = []
    # A probe of a header that is nowhere would fail for the wrong reason.
    for header in GEO_HEADERS + UI_HEADERS + APP_HEADERS:
        if not any(os.path.exists(os.path.join(source, root, header)) for root in LAYER_ROOTS):
            failures.append("the probed header %s is in no layer" % header)
    with tempfile.TemporaryDirectory() as work:
        for layer, folder, forbidden, own in LAYERS:
            command, directory = compile_command(entries, folder)
            if not compiles(command, directory, own, work):
                failures.append("%s cannot include its own %s: the probe is broken" % (layer, own))
            for header in forbidden:
                if compiles(command, directory, header, work):
                    failures.append("%s can include %s, a header of a layer above it" % (layer, header))

    # One path names one header: "comm/x.h" in two layers would let an include reach either.
    seen = {}
    for root in LAYER_ROOTS:
        for path in glob.glob(os.path.join(source, root, "**", "*.h"), recursive=True):
            relative = os.path.relpath(path, os.path.join(source, root))
            if relative in seen:
                failures.append("%s is in both %s and %s" % (relative, seen[relative], root))
            seen[relative] = root

    # The core suites are built on ktcore alone: no GUI or Widgets library is loaded.
    core_tests = [os.path.splitext(os.path.basename(p))[0]
                  for p in glob.glob(os.path.join(source, "tests", "core", "tst_*.cpp"))]
    for name in core_tests:
        program = os.path.join(build, "tests", name)
        if not os.path.exists(program):
            failures.append("%s was not built" % name)
            continue
        libraries = libraries_of(program)
        for library in ("Widgets", "Gui"):
            if "Qt5%s" % library in libraries or "Qt6%s" % library in libraries:
                failures.append("%s loads Qt %s" % (name, library))

    # The geo library (GDAL, PROJ) is in ktconvert and not in the simulator.
    for program, wanted in (("ktconvert", True), ("ktsim", False)):
        path = os.path.join(build, "run", program)
        if not os.path.exists(path):
            failures.append("%s was not built" % program)
            continue
        libraries = libraries_of(path)
        for library in ("libgdal", "libproj"):
            if (library in libraries) != wanted:
                failures.append("%s %s %s" % (program, "does not load" if wanted else "loads", library))

    for failure in failures:
        print("layering: " + failure)
    if failures:
        return 1
    print("layering: %d layers probed, %d headers each named once, %d core suites without Qt Widgets"
          % (len(LAYERS), len(seen), len(core_tests)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
