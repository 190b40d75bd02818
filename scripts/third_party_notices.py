#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The third-party notices of the Windows program, read from the builds.

third_party_notices.py collect QTBASE_SOURCE QT_BUILD DESTINATION
    Keeps Qt's notes on the third-party code in it (every qt_attribution.json under src/, with the
    licence files beside it) and, from the Qt build's build.ninja, covers.json: for each note, the
    archive members ("libQt6Gui.a(qgrayraster.c.obj)") built from the sources it covers.
third_party_notices.py notices ATTRIBUTIONS LINKER_MAP QT_VERSION OUTPUT
    Writes THIRD-PARTY-NOTICES.txt (CRLF): Qt, each third-party part of Qt of which the program's
    link (its map) took at least one member, and the MinGW-w64 and GCC runtimes, with their
    licences and copyright lines, and the GNU licence texts they refer to.
"""
import glob
import json
import os
import re
import shutil
import sys

RULE = "=" * 78 + "\n"


def collect(source, build, destination):
    ninja = open(os.path.join(build, "build.ninja"), errors="replace").read().replace("$\n", "")
    compiled, archives = {}, {}
    for line in ninja.splitlines():
        if not line.startswith("build "):
            continue
        outputs, _, rest = line[6:].partition(": ")
        words = rest.replace("$ ", "\0").split()
        if not words:
            continue
        inputs = [w.replace("\0", " ").replace("$:", ":") for w in words[1:] if w not in "|"]
        if "_COMPILER__" in words[0] and inputs:
            compiled[outputs.split()[0]] = os.path.normpath(os.path.join(build, inputs[0]))
        elif "STATIC_LIBRARY_LINKER" in words[0]:
            archives[os.path.basename(outputs.split()[0])] = inputs
    members = {}  # source path -> "archive(member)"
    for archive, objects in archives.items():
        for obj in objects:
            if obj in compiled:
                members.setdefault(compiled[obj], []).append(f"{archive}({os.path.basename(obj)})")
    for json_path in glob.glob(os.path.join(source, "src", "**", "qt_attribution.json"),
                               recursive=True):
        folder = os.path.dirname(json_path)
        target = os.path.join(destination, os.path.relpath(folder, source))
        os.makedirs(target, exist_ok=True)
        for name in os.listdir(folder):
            if name == "qt_attribution.json" or re.search(r"licen[cs]e|copying|notice", name, re.I):
                if os.path.isfile(os.path.join(folder, name)):
                    shutil.copy(os.path.join(folder, name), target)
        # An entry covers the files or folders its "Files" or "Path" names, else its whole folder;
        # one that names only headers or data compiled into other files, the folder's objects.
        data = json.load(open(json_path), strict=False)
        covers = []
        for entry in data if isinstance(data, list) else [data]:
            for places in ((entry.get("Files") or entry.get("Path") or ".").split(), ["."]):
                places = [os.path.normpath(os.path.join(folder, p)) for p in places]
                covered = sorted(m for path, ms in members.items() for m in ms
                                 if any(path == p or path.startswith(p + os.sep) for p in places))
                if covered:
                    break
            covers.append(covered)
        json.dump(covers, open(os.path.join(target, "covers.json"), "w"), indent=0)


def text(path):
    return open(path, encoding="utf-8", errors="replace").read().rstrip() + "\n"


def notices(attributions, linker_map, qt_version, output):
    linked = set(re.findall(r"([\w.+-]+\.a\([^)\s]+\))", open(linker_map, errors="replace").read()))
    sections, seen = [], set()
    for folder, _, files in sorted(os.walk(attributions)):
        if "covers.json" not in files:
            continue
        data = json.load(open(os.path.join(folder, "qt_attribution.json")), strict=False)
        covers = json.load(open(os.path.join(folder, "covers.json")))
        for entry, covered in zip(data if isinstance(data, list) else [data], covers):
            if not set(covered) & linked:
                continue
            key = (entry.get("Name"), entry.get("Version"))
            if key in seen:
                continue
            seen.add(key)
            lines = entry.get("Copyright", "")
            lines = "\n".join(lines) if isinstance(lines, list) else lines
            section = f"{entry.get('Name', entry.get('Id'))} {entry.get('Version', '')}".rstrip()
            section += f"\nIn Qt: {entry.get('QtUsage', '')}\n"
            if entry.get("Homepage"):
                section += f"Homepage: {entry['Homepage']}\n"
            section += f"Licence: {entry.get('License', '')} ({entry.get('LicenseId', '')})\n\n"
            section += lines.strip() + "\n"
            for name in filter(None, entry.get("LicenseFiles") or [entry.get("LicenseFile")]):
                path = os.path.join(folder, os.path.basename(name))
                if os.path.exists(path):
                    section += "\n" + text(path)
            sections.append(section)
    header = f"""Third-party notices for lopwinder.exe

Lopwinder is free software under the GNU General Public License, version 3 or later (LICENSE.txt).
The program file lopwinder.exe also contains the following components, linked in statically.
Their licences and copyright notices follow; the full texts of the GNU licences they refer to are
at the end of this file.

{RULE}Qt {qt_version} (qtbase: Qt Core, Qt Gui, Qt Widgets, the Windows platform plugin and the
Windows Vista style), built from Debian's qt6-base {qt_version} source package.
Copyright (C) The Qt Company Ltd. and other contributors.
Licence: GNU Lesser General Public License, version 3 (LGPL-3.0-only).

Qt is linked statically. Lopwinder's complete source is available under the GPL, so the program
can be rebuilt and relinked against a modified version of Qt (its README tells how).
The third-party code in Qt that the program contains follows.
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


if __name__ == "__main__":
    {"collect": collect, "notices": notices}[sys.argv[1]](*sys.argv[2:])
