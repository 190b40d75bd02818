#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes THIRD-PARTY-NOTICES.txt for the Windows program: every component linked into
lopwinder.exe with its licence and copyright lines, read from the build.

Usage: third_party_notices.py ATTRIBUTIONS LINKER_MAP QT_VERSION OUTPUT
ATTRIBUTIONS is the folder of Qt's qt_attribution.json files that scripts/windows-build.sh keeps
beside the cached Qt, each with the licence files beside it and sources.txt, the names of the
sources it covers; LINKER_MAP is the map the program's link wrote. An attribution is included when
an object file linked from one of Qt's libraries was built from one of its sources.
"""
import json
import os
import re
import sys

attributions, linker_map, qt_version, output = sys.argv[1:5]
RULE = "=" * 78 + "\n"

# Archive members the link took from Qt's libraries and plugins: "libQt6Gui.a(qimage.cpp.obj)".
linked = set(re.findall(r"/lib(?:Qt6\w+|q\w+)\.a\((.+?)\.obj\)",
                        open(linker_map, errors="replace").read()))


def text(path):
    return open(path, encoding="utf-8", errors="replace").read().rstrip() + "\n"


def entries():
    for folder, _, files in sorted(os.walk(attributions)):
        if "qt_attribution.json" not in files:
            continue
        sources = set(open(os.path.join(folder, "sources.txt")).read().split())
        if not sources & linked:
            continue
        data = json.load(open(os.path.join(folder, "qt_attribution.json")))
        for entry in data if isinstance(data, list) else [data]:
            yield folder, entry


sections = []
seen = set()
for folder, entry in entries():
    key = (entry.get("Name"), entry.get("Version"))
    if key in seen:
        continue
    seen.add(key)
    copyright = entry.get("Copyright", "")
    copyright = "\n".join(copyright) if isinstance(copyright, list) else copyright
    section = f"{entry.get('Name', entry.get('Id'))} {entry.get('Version', '')}".rstrip() + "\n"
    section += f"Used in Qt's {entry.get('QDocModule', 'qtbase')}: {entry.get('QtUsage', '')}\n"
    if entry.get("Homepage"):
        section += f"Homepage: {entry['Homepage']}\n"
    section += f"Licence: {entry.get('License', '')} ({entry.get('LicenseId', '')})\n\n"
    section += copyright.strip() + "\n"
    licence_files = entry.get("LicenseFiles") or [entry.get("LicenseFile")]
    for name in filter(None, licence_files):
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
can be rebuilt and relinked against a modified version of Qt (the project's README tells how).
"""
mingw = "/usr/share/doc/mingw-w64-common/copyright"
gcc = "/usr/share/doc/gcc-mingw-w64-base/copyright"
runtime = f"""{RULE}MinGW-w64 runtime (the C runtime start-up code, headers and the winpthreads library)
As packaged by Debian (mingw-w64-common); its copyright file follows.

{text(mingw)}
{RULE}GCC runtime libraries (libgcc and libstdc++), GNU General Public License version 3 with the
GCC Runtime Library Exception, as packaged by Debian (gcc-mingw-w64-base); its copyright file
follows.

{text(gcc)}"""
licences = "".join(f"{RULE}{name}\n\n{text('/usr/share/common-licenses/' + file)}"
                   for name, file in (("GNU Lesser General Public License, version 3", "LGPL-3"),
                                      ("GNU General Public License, version 3", "GPL-3")))
with open(output, "w", newline="\r\n") as out:
    out.write(header + "".join(RULE + s for s in sections) + runtime + licences)
