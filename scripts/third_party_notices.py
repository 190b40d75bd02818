#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
"""The third-party notices of the Windows program, decided from what was compiled into it.

third_party_notices.py notices QT_CACHE LINKER_MAP QT_VERSION OUTPUT
    Writes THIRD-PARTY-NOTICES.txt (CRLF): Qt, every part of Qt under a licence of its own that the
    program contains, and the MinGW-w64 and GCC runtimes, with their licences and copyright lines,
    and the GNU licence texts they refer to.
third_party_notices.py verify QT_CACHE LINKER_MAP NOTICES
    The release check: fails when something linked into the program has a notice that NOTICES
    lacks, or when NOTICES has one for something that was not linked.

What the program contains is read from the builds themselves. The linker map names every Qt object
the link took (archive members and object files). Qt's build record (QT_CACHE/build-record, kept
when Qt was built) gives, for each of those objects, every source and header the compiler read for
it (ninja's record of the compiler's dependency files) and, for generated sources, what they were
generated from (a resource compiled in names its data files). A note of Qt's (qt_attribution.json,
read from Qt's Debian source in QT_CACHE/source) applies when one of those files is one it covers;
a file of Qt's own whose licence line names no LGPL is listed under its own licence.
"""
import glob
import json
import os
import re
import subprocess
import sys
import tempfile

RULE = "=" * 78 + "\n"
# Qt's own files are under the LGPL, unless their licence line says otherwise.
LGPL = "LGPL-3.0-only"


def unpack_qt_source(cache, folder):
    dsc = glob.glob(os.path.join(cache, "source", "*.dsc"))[0]
    subprocess.run(["dpkg-source", "--no-check", "-x", dsc, os.path.join(folder, "qtbase")],
                   check=True, capture_output=True)
    return os.path.join(folder, "qtbase")


class BuildRecord:
    """Qt's build: which object each archive member and installed object file is, and what went
    into it. Paths of Qt's files are relative to its source ("src/..."); generated files are
    "build/..."."""

    def __init__(self, cache):
        record = os.path.join(cache, "build-record")
        work = open(os.path.join(record, "work-folder")).read().strip()
        self.prefixes = ((os.path.join(work, "qtbase") + "/", ""), (os.path.join(work, "build") + "/", "build/"))
        ninja = self._read(os.path.join(record, "build.ninja.xz")).replace("$\n", "")
        self.archives = {}  # archive file name -> {member name -> [objects]}
        self.generated = {}  # generated file -> the files it was made from
        self.objects = set()
        for line in ninja.splitlines():
            if not line.startswith("build "):
                continue
            outputs, _, rest = line[6:].partition(": ")
            outputs = [o for o in outputs.replace("$ ", "\0").split() if o != "|"]
            words = [w.replace("\0", " ").replace("$:", ":") for w in rest.replace("$ ", "\0").split()]
            if not words:
                continue
            rule, explicit = words[0], []
            for word in words[1:]:
                if word in ("|", "||"):
                    break
                explicit.append(word)
            if "_COMPILER__" in rule:
                self.objects.add(outputs[0])
            elif "STATIC_LIBRARY_LINKER" in rule:
                members = self.archives.setdefault(os.path.basename(outputs[0]), {})
                for obj in explicit:
                    members.setdefault(os.path.basename(obj), []).append(obj)
            elif rule == "CUSTOM_COMMAND":
                # Data made into sources (resources); not the tools that made them.
                inputs = [self.name(i) for i in explicit if not i.startswith("/usr/")]
                for output in outputs:
                    self.generated[self.name(output)] = [i for i in inputs if i]
        self.deps = {}  # object -> files read for it
        current = None
        for line in self._read(os.path.join(record, "deps.txt.xz")).splitlines():
            if line and not line[0].isspace():
                current = self.deps.setdefault(line.split(":")[0], [])
            elif line.strip() and current is not None:
                name = self.name(line.strip())
                if name:
                    current.append(name)

    @staticmethod
    def _read(path):
        return subprocess.run(["xz", "-dc", path], check=True, capture_output=True).stdout.decode(
            errors="replace")

    def name(self, path):
        """A file's name relative to Qt's source ("src/...") or build ("build/..."), or None for
        the system's own headers."""
        if path.startswith("${cmake_ninja_workdir}"):
            path = path[len("${cmake_ninja_workdir}"):]
        for prefix, replacement in self.prefixes:
            if path.startswith(prefix):
                return replacement + path[len(prefix):]
        return None if path.startswith("/") else "build/" + os.path.normpath(path)

    def objects_linked(self, linker_map):
        """The objects of Qt that the link map shows were linked, each with where it came from."""
        text = open(linker_map, errors="replace").read()
        linked = {}
        for archive, member in set(re.findall(r"([^\s/()]+\.a)\(([^)\s]+)\)", text)):
            for obj in self.archives.get(archive, {}).get(member, []):
                linked[obj] = f"{archive}({member})"
        # Object files a static Qt installs and links directly (resources, plugin importers):
        # .../objects-CONFIG/TARGET/PATH is TARGET's PATH in the build.
        for target, path in set(re.findall(r"/objects-[A-Za-z]+/([^/\s]+)/(\S+?\.obj)\b", text)):
            path = path.removeprefix("./")
            suffix = f"/CMakeFiles/{target}.dir/{path}"
            for obj in self.objects:
                if obj.replace("/./", "/").endswith(suffix):
                    linked[obj] = f"{target}/{path}"
        return linked

    def files_of(self, obj):
        """Every file that went into obj: what the compiler read, and what generated files were
        made from."""
        files, todo = set(), list(self.deps.get(obj, []))
        while todo:
            name = todo.pop()
            if name not in files:
                files.add(name)
                todo += self.generated.get(name, [])
        return files


def covered(folder, entry):
    """The files and folders (relative to Qt's source) that an attribution entry speaks for: what
    its "Files" or "Path" names, relative to its own folder, or else the whole folder."""
    places = (entry.get("Files") or entry.get("Path") or ".").replace(",", " ").split()
    return [os.path.normpath(os.path.join(folder, p)) for p in places]


def licence_line(path):
    try:
        with open(path, errors="replace") as source:
            for line in source.readlines()[:12]:
                found = re.search(r"SPDX-License-Identifier:\s*(.+?)\s*(\*/)?$", line)
                if found:
                    return found.group(1)
    except OSError:
        pass
    return None


def copyright_lines(path):
    with open(path, errors="replace") as source:
        return [re.sub(r"^\W*", "", line).strip() for line in source.readlines()[:12]
                if "Copyright" in line]


def analyse(cache, linker_map, source):
    """What the program contains that needs a notice: [(folder, entry, files)] of Qt's
    attributions, and {licence expression: [(file, origin)]} of Qt's own files under other
    licences than the LGPL."""
    record = BuildRecord(cache)
    linked_files = {}  # file -> an archive member that holds it
    for obj, origin in record.objects_linked(linker_map).items():
        for name in record.files_of(obj):
            linked_files.setdefault(name, origin)
    attributions = []
    for json_path in sorted(glob.glob(os.path.join(source, "src", "**", "qt_attribution.json"),
                                      recursive=True)):
        folder = os.path.relpath(os.path.dirname(json_path), source)
        data = json.load(open(json_path), strict=False)
        for entry in data if isinstance(data, list) else [data]:
            places = covered(folder, entry)
            files = sorted(f for f in linked_files
                           if any(f == p or f.startswith(p + "/") for p in places))
            if files:
                attributions.append((folder, entry, files))
    attributed = {f for _, _, files in attributions for f in files}
    own = {}
    for name in sorted(linked_files):
        if name.startswith("build/") or name in attributed:
            continue
        expression = licence_line(os.path.join(source, name))
        if expression and LGPL not in expression:
            own.setdefault(expression, []).append((name, linked_files[name]))
    return attributions, own


def text(path):
    return open(path, encoding="utf-8", errors="replace").read().rstrip() + "\n"


def licence_files(source, folder, entry):
    names = entry.get("LicenseFiles") or [entry.get("LicenseFile")]
    paths = [os.path.normpath(os.path.join(source, folder, n)) for n in names if n]
    for path in paths:
        if not os.path.isfile(path):
            raise SystemExit(f"third-party notices: {path} is missing")
    return paths


def attribution_section(source, folder, entry, files):
    name = f"{entry.get('Name', entry.get('Id'))} {entry.get('Version', '')}".rstrip()
    section = f"{name}\nQt attribution: {folder}/{entry.get('Id')}\n"
    section += f"In Qt: {entry.get('QtUsage', '')}\n"
    shown = files[:8] + ([f"and {len(files) - 8} more"] if len(files) > 8 else [])
    section += "In lopwinder.exe, from: " + ", ".join(shown) + "\n"
    if entry.get("Homepage"):
        section += f"Homepage: {entry['Homepage']}\n"
    paths = licence_files(source, folder, entry)
    if entry.get("LicenseId") == "FTL or GPL-2.0":
        # GPL-2.0-only does not combine with a GPL-3.0-or-later program: the FTL is the licence
        # taken, and it asks for this credit.
        section += ("Licence: used under the FreeType License (FTL), one of its two licences (FTL "
                    "or GPL-2.0-only).\n\nPortions of this software are copyright (C) 2016 The "
                    "FreeType Project (www.freetype.org). All rights reserved.\n")
        paths.append(os.path.join(source, "src/3rdparty/freetype/docs/FTL.TXT"))
    else:
        section += f"Licence: {entry.get('License', '')} ({entry.get('LicenseId', '')})\n"
    copyright = entry.get("Copyright", "")
    copyright = "\n".join(copyright) if isinstance(copyright, list) else copyright
    section += "\n" + copyright.strip() + "\n"
    for path in paths:
        section += "\n" + text(path)
    return section


def own_section(source, expression, files):
    # "LicenseRef-Qt-Commercial OR BSD-3-Clause": the free one of the choices.
    chosen = [c.strip("() ") for c in expression.split(" OR ") if "LicenseRef" not in c]
    section = f"Parts of Qt under {' OR '.join(chosen)}\n"
    section += f"Licence line of these files: {expression}\n"
    section += "".join(f"Qt file: {name} (in lopwinder.exe from {origin})\n" for name, origin in files)
    lines = sorted({c for name, _ in files for c in copyright_lines(os.path.join(source, name))})
    section += "\n" + "\n".join(lines) + "\n"
    for licence in chosen:
        path = os.path.join(source, "LICENSES", licence + ".txt")
        if not os.path.isfile(path):
            raise SystemExit(f"third-party notices: no text for {licence} in Qt's LICENSES")
        section += "\n" + text(path)
    return section


def notices(cache, linker_map, qt_version, output):
    with tempfile.TemporaryDirectory() as folder:
        source = unpack_qt_source(cache, folder)
        attributions, own = analyse(cache, linker_map, source)
        sections = [attribution_section(source, *a) for a in attributions]
        sections += [own_section(source, e, files) for e, files in sorted(own.items())]
    header = f"""Third-party notices for lopwinder.exe

Lopwinder is free software under the GNU General Public License, version 3 or later (LICENSE.txt).
The program file lopwinder.exe also contains the following components, linked in statically.
Their licences and copyright notices follow; the full texts of the GNU licences they refer to are
at the end of this file.

{RULE}Qt (qtbase: Qt Core, Qt Gui, Qt Widgets, the Windows platform plugin and the Windows Vista
style), built from Debian's qt6-base source package, version {qt_version}.
Copyright (C) The Qt Company Ltd. and other contributors.
Licence: GNU Lesser General Public License, version 3 (LGPL-3.0-only).

Qt is linked statically. The complete corresponding source of lopwinder.exe is distributed
alongside this zip, as README.txt says: Lopwinder's own source at the release's commit, the very
Qt source it was built with, and the script and options that build it; so the program can be
rebuilt and relinked against a modified version of Qt.
Below: every part of Qt under a licence of its own that lopwinder.exe contains, as the build
recorded what went into each object it linked.
"""
    runtimes = f"""{RULE}MinGW-w64 runtime (the C runtime start-up code and the winpthreads library), as
packaged by Debian (mingw-w64-common); its copyright file follows.

{text("/usr/share/doc/mingw-w64-common/copyright")}
{RULE}GCC runtime libraries (libgcc and libstdc++): GNU General Public License, version 3, with
the GCC Runtime Library Exception, as packaged by Debian (gcc-mingw-w64-base); its copyright file
follows.

{text("/usr/share/doc/gcc-mingw-w64-base/copyright")}"""
    licences = "".join(f"{RULE}{name}\n\n{text('/usr/share/common-licenses/' + file)}"
                       for name, file in (("GNU Lesser General Public License, version 3",
                                           "LGPL-3"),
                                          ("GNU General Public License, version 3", "GPL-3")))
    with open(output, "w", newline="\r\n") as out:
        out.write(header + "".join(RULE + s for s in sections) + runtimes + licences)


def verify(cache, linker_map, notices_path):
    with tempfile.TemporaryDirectory() as folder:
        source = unpack_qt_source(cache, folder)
        attributions, own = analyse(cache, linker_map, source)
    expected = {f"Qt attribution: {f}/{e.get('Id')}" for f, e, _ in attributions}
    expected |= {f"Qt file: {name}" for files in own.values() for name, _ in files}
    listed = set()
    for line in open(notices_path, errors="replace").read().splitlines():
        if line.startswith("Qt attribution: "):
            listed.add(line)
        elif line.startswith("Qt file: "):
            listed.add(line.split(" (in lopwinder.exe")[0])
    missing, extra = sorted(expected - listed), sorted(listed - expected)
    for line in missing:
        print(f"notices lack what was linked: {line}")
    for line in extra:
        print(f"notices list what was not linked: {line}")
    print(f"notices: {len(expected)} linked parts with notices of their own, {len(missing)} "
          f"missing, {len(extra)} extra")
    return 1 if missing or extra else 0


if __name__ == "__main__":
    command = {"notices": notices, "verify": verify}[sys.argv[1]]
    sys.exit(command(*sys.argv[2:]))
