#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
"""The third-party notices of the Windows program, decided from what was compiled into it.

third_party_notices.py notices QT_CACHE LINKER_MAP QT_VERSION OUTPUT
    Writes THIRD-PARTY-NOTICES.txt (CRLF): Qt, every part of Qt under a licence of its own that the
    program contains, and the MinGW-w64 and GCC runtimes (the compiler's version, and the Debian
    packages and versions linked from), with their licences and copyright lines, and the text of
    every licence they name or refer to.
third_party_notices.py verify QT_CACHE LINKER_MAP NOTICES
    The release check: fails when something linked into the program has a notice that NOTICES
    lacks, or when NOTICES has one for something that was not linked; when a licence named lacks
    its text; when the toolchain that built the program is not the one named; when a template
    field ("<year> <owner>") or an empty one ("()") is left.

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
import textwrap

RULE = "=" * 78 + "\n"
# Qt's own files are under the LGPL, unless their licence line says otherwise.
LGPL = "LGPL-3.0-only"


def unpack_qt_source(cache, folder):
    """Qt's source as it was built: Debian's package unpacked with its patches, or the tree."""
    target = os.path.join(folder, "qtbase")
    dsc = glob.glob(os.path.join(cache, "source", "*.dsc"))
    if dsc:
        subprocess.run(["dpkg-source", "--no-check", "-x", dsc[0], target], check=True,
                       capture_output=True)
    else:
        os.mkdir(target)
        tree = glob.glob(os.path.join(cache, "source", "*-modified.tar.xz"))[0]
        subprocess.run(["tar", "-xJf", tree, "-C", target], check=True, capture_output=True)
    return target


def modified_qt(cache):
    return not glob.glob(os.path.join(cache, "source", "*.dsc"))


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
    places = entry.get("Files") or entry.get("Path") or "."
    places = places if isinstance(places, list) else places.replace(",", " ").split()
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


def copyright_lines(path, missing_ok=False):
    if missing_ok and not os.path.isfile(path):
        return []
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
    years = sorted({int(y) for name in linked_files if not name.startswith("build/")
                    for line in copyright_lines(os.path.join(source, name), missing_ok=True)
                    if "The Qt Company" in line for y in re.findall(r"\b(?:19|20)\d\d\b", line)})
    own = {}
    for name in sorted(linked_files):
        if name.startswith("build/") or name in attributed:
            continue
        expression = licence_line(os.path.join(source, name))
        if expression and LGPL not in expression:
            own.setdefault(expression, []).append((name, linked_files[name]))
    return attributions, own, years


def text(path):
    return open(path, encoding="utf-8", errors="replace").read().rstrip() + "\n"


def licence_ids(expression):
    return [w for w in re.findall(r"[A-Za-z0-9.+-]+", expression) if w not in ("AND", "OR", "WITH",
                                                                           "and", "or")]


def licence_text(path):
    # A licence's template line ("Copyright (c) <year> <owner>."): the files' own lines stand
    # above it.
    return re.sub(r"(?m)^Copyright \(c\) <year> <owner>\.?\n\n?", "", text(path))


def licence_files(source, folder, entry):
    """The texts an attribution's licences are given by: its own files, else Qt's texts of the
    licences it names (a part under CC0 has no file of its own)."""
    names = entry.get("LicenseFiles") or [entry.get("LicenseFile")]
    paths = [os.path.normpath(os.path.join(source, folder, n)) for n in names if n]
    if not paths:
        paths = [os.path.join(source, "LICENSES", i + ".txt")
                 for i in licence_ids(entry.get("LicenseId", ""))]
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
    if re.fullmatch(r"FTL or GPL-2\.0(-only)?", entry.get("LicenseId", ""), re.I):
        # GPL-2.0-only does not combine with a GPL-3.0-or-later program: the FTL is the licence
        # taken, and it asks for this credit.
        section += ("Licence: used under the FreeType License (FTL), one of its two licences (FTL "
                    "or GPL-2.0-only).\n\nPortions of this software are copyright (C) 2016 The "
                    "FreeType Project (www.freetype.org). All rights reserved.\n")
        paths.append(os.path.join(source, "src/3rdparty/freetype/docs/FTL.TXT"))
    else:
        ids = entry.get("LicenseId", "")
        section += f"Licence: {entry.get('License', '')}{f' ({ids})' if ids else ''}\n"
    copyright = entry.get("Copyright", "")
    copyright = "\n".join(copyright) if isinstance(copyright, list) else copyright
    section += "\n" + copyright.strip() + "\n"
    for path in paths:
        section += "\n" + licence_text(path)
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
        section += "\n" + licence_text(path)
    return section


COMMON = "/usr/share/common-licenses/"
LICENCE_NAMES = {"GPL-2": "GNU General Public License, version 2",
                 "GPL-3": "GNU General Public License, version 3",
                 "LGPL-2": "GNU Library General Public License, version 2",
                 "LGPL-2.1": "GNU Lesser General Public License, version 2.1",
                 "LGPL-3": "GNU Lesser General Public License, version 3",
                 "GFDL-1.2": "GNU Free Documentation License, version 1.2",
                 "GFDL-1.3": "GNU Free Documentation License, version 1.3",
                 "Artistic": "The Artistic License (Perl's)",
                 "Apache-2.0": "Apache License, version 2.0"}


def package_of(path):
    """(package, version) of the Debian package that installed path."""
    owner = subprocess.run(["dpkg", "-S", path], check=True, capture_output=True,
                           text=True).stdout.split(":")[0]
    version = subprocess.run(["dpkg-query", "-W", "-f=${Version}", owner], check=True,
                             capture_output=True, text=True).stdout
    return owner, version


def toolchain(linker_map):
    """What built and was linked from the toolchain: the compiler (as CMake recorded it in the
    build beside the map) and the runtime archives the map names, by package."""
    record = glob.glob(os.path.join(os.path.dirname(linker_map), "CMakeFiles", "*",
                                    "CMakeCXXCompiler.cmake"))
    compiler = re.search(r'^set\(CMAKE_CXX_COMPILER "(.*)"\)$', open(record[0]).read(),
                         re.M).group(1)
    runtime = {}
    for path in set(re.findall(r"(/usr/\S+?\.(?:a|o))\b", open(linker_map, errors="replace").read())):
        path = os.path.realpath(path)
        if "/gcc/" in path or re.search(r"/lib(mingw|winpthread|pthread|moldname|msvcrt)|/crt", path):
            runtime.setdefault(package_of(path), set()).add(os.path.basename(path))
    return os.path.basename(compiler), package_of(compiler), runtime


def runtime_sections(linker_map):
    """The MinGW-w64 and GCC runtimes, as linked: which files, from which packages of which
    versions, and each package's Debian copyright file (from its licence terms on, where it first
    describes Debian's packaging)."""
    compiler, (compiler_package, compiler_version), runtime = toolchain(linker_map)
    # Debian's MinGW-w64 GCC calls itself "14-posix"; its package's version names the release.
    version = compiler_version.split("-")[0]
    gcc = {k: v for k, v in runtime.items() if k[0].startswith(("gcc-", "g++-"))}
    mingw = {k: v for k, v in runtime.items() if k not in gcc}

    def origins(parts):
        return "".join(f"  {', '.join(sorted(files))}: Debian's {package} {package_version}\n"
                       for (package, package_version), files in sorted(parts.items()))

    def copyright_files(parts):
        paths = sorted({os.path.realpath(f"/usr/share/doc/{package}/copyright")
                        for package, _ in parts})
        texts = []
        for path in paths:
            body = text(path)
            start = body.find("COPYRIGHT STATEMENTS AND LICENSING TERMS")
            if body[max(start, 0):] not in texts:
                texts.append(body[max(start, 0):])
        return "\n".join(texts)

    def fill(paragraph):
        return textwrap.fill(paragraph, 100, break_long_words=False, break_on_hyphens=False)

    mingw_text = (fill("MinGW-w64 runtime: the C run-time start-up code and libraries and the "
                       "winpthreads library, linked from:") + f"\n{origins(mingw)}"
                  f"Their Debian copyright file follows.\n\n{copyright_files(mingw)}")
    gcc_text = (fill(f"GCC runtime libraries of GCC {version}, the compiler that built "
                     f"lopwinder.exe ({compiler}, Debian's {compiler_package} "
                     f"{compiler_version}), linked from:") + f"\n{origins(gcc)}" +
                fill("Licence: GNU General Public License, version 3 or later, with the GCC "
                     "Runtime Library Exception, version 3.1 (GPL-3.0-or-later WITH "
                     "GCC-exception-3.1). GCC's copyright statements and licensing terms, from "
                     "Debian's copyright file of these packages, follow.") +
                f"\n\n{copyright_files(gcc)}")
    return [mingw_text, gcc_text]


def dep5_licences(body):
    """The licences a machine-readable copyright file names, and those it gives the text of."""
    named, given = set(), set()
    for paragraph in re.split(r"\n\s*\n", body):
        found = re.search(r"^License: *(.+)$((?:\n[ \t].*)*)", paragraph, re.M)
        if not found:
            continue
        names = {n for n in re.split(r"\s+(?:and|or)\s+|\s*,\s*", found.group(1).strip()) if n}
        named |= names
        if found.group(2).strip() and len(names) == 1:
            given |= names
    return named, given


def common_licence(name):
    """The text in /usr/share/common-licenses of a licence named in a copyright file, if any."""
    for candidate in (name, name.rstrip("+"), re.sub(r"-or-later$|-only$", "", name)):
        if candidate and os.path.isfile(COMMON + candidate):
            return os.path.basename(os.path.realpath(COMMON + candidate))
    return None


def licences_referred(body):
    """The common licence texts a body of notices refers to: by their path, or by name in a
    machine-readable copyright file that does not give the text itself; and the names it gives no
    text for at all."""
    files = {os.path.basename(os.path.realpath(COMMON + n))
             for n in re.findall(re.escape(COMMON) + r"([A-Za-z0-9.+-]*[A-Za-z0-9+])", body)
             if os.path.isfile(COMMON + n)}
    # Prose that names a licence by its title and version (GCC's copyright file for its manuals).
    for version in re.findall(r"GNU Free Documentation License,?\s+[Vv]ersion\s+(\d\.\d)", body):
        if os.path.isfile(COMMON + "GFDL-" + version):
            files.add("GFDL-" + version)
    unknown = set()
    named, given = dep5_licences(body)
    for name in named - given:
        found = common_licence(name)
        if found:
            files.add(found)
        elif not re.search(r"public.domain", name, re.I):
            unknown.add(name)
    return files, unknown


def notices(cache, linker_map, qt_version, output):
    with tempfile.TemporaryDirectory() as folder:
        source = unpack_qt_source(cache, folder)
        attributions, own, years = analyse(cache, linker_map, source)
        sections = [attribution_section(source, *a) for a in attributions]
        sections += [own_section(source, e, files) for e, files in sorted(own.items())]
    if modified_qt(cache):
        origin = (f"built from a modified Qt source tree (its host tools: Debian's qt6-base "
                  f"{qt_version}), distributed beside this zip.")
    else:
        origin = f"built from Debian's qt6-base source package, version {qt_version}."
    span = f"{years[0]}-{years[-1]} " if years else ""
    header = f"""Third-party notices for lopwinder.exe

Lopwinder is free software under the GNU General Public License, version 3 or later (LICENSE.txt).
The program file lopwinder.exe also contains the following components, linked in statically.
Their licences and copyright notices follow; the full texts of the licences they refer to are at
the end of this file.

{RULE}Qt (qtbase: Qt Core, Qt Gui, Qt Widgets, the Windows platform plugin and the Windows 11 and
Windows Vista styles), {origin}
Copyright (C) {span}The Qt Company Ltd. and other contributors, as each file of Qt says.
Licence: GNU Lesser General Public License, version 3 (LGPL-3.0-only).

Qt is linked statically. The complete corresponding source of lopwinder.exe is distributed
alongside this zip, as README.txt says: Lopwinder's own source at the release's commit, the very
Qt source it was built with, and the script and options that build it; so the program can be
rebuilt and relinked against a modified version of Qt.
Below: every part of Qt under a licence of its own that lopwinder.exe contains, as the build
recorded what went into each object it linked.
"""
    runtimes = runtime_sections(linker_map)
    body = header + "".join(RULE + s for s in sections + runtimes)
    referred, unknown = licences_referred(body)
    if unknown:
        raise SystemExit(f"third-party notices: no text for {', '.join(sorted(unknown))}")
    # Qt is under the LGPL, the GCC runtime under the GPL, version 3 both.
    referred |= {"LGPL-3", "GPL-3"}
    order = list(LICENCE_NAMES)
    licences = "".join(f"{RULE}{LICENCE_NAMES.get(f, f)}\n\n{text(COMMON + f)}" for f in
                       sorted(referred, key=lambda f: (order.index(f) if f in order else 99, f)))
    with open(output, "w", newline="\r\n") as out:
        out.write(body + licences)


def squeeze(body):
    return re.sub(r"\s+", " ", body)


def verify(cache, linker_map, notices_path):
    with tempfile.TemporaryDirectory() as folder:
        source = unpack_qt_source(cache, folder)
        attributions, own, _ = analyse(cache, linker_map, source)
        texts = {f"{f}/{e.get('Id')}": [licence_text(p) for p in licence_files(source, f, e)]
                 for f, e, _ in attributions}
    expected = {f"Qt attribution: {f}/{e.get('Id')}" for f, e, _ in attributions}
    expected |= {f"Qt file: {name}" for files in own.values() for name, _ in files}
    body = open(notices_path, errors="replace").read().replace("\r\n", "\n")
    listed = set()
    for line in body.splitlines():
        if line.startswith("Qt attribution: "):
            listed.add(line)
        elif line.startswith("Qt file: "):
            listed.add(line.split(" (in lopwinder.exe")[0])
    problems = [f"notices lack what was linked: {line}" for line in sorted(expected - listed)]
    problems += [f"notices list what was not linked: {line}" for line in sorted(listed - expected)]
    flat = squeeze(body)
    # Every licence named has its text: each part of Qt's, and every licence the runtimes'
    # copyright files name or point to.
    for part, licence_texts in sorted(texts.items()):
        problems += [f"notices lack the licence text of {part}" for t in licence_texts
                     if squeeze(t) not in flat]
    referred, unknown = licences_referred(body)
    problems += [f"notices name {name} and give no text for it" for name in sorted(unknown)]
    problems += [f"notices refer to {COMMON}{f} and lack its text" for f in sorted(referred)
                 if squeeze(text(COMMON + f)) not in flat]
    # The compiler and runtimes, as the toolchain that built the program has them.
    problems += [f"notices lack, of the toolchain: {line}" for section in runtime_sections(linker_map)
                 for line in section.split("\n\n")[0].splitlines() if line not in body]
    problems += [f"notices carry a template or empty field: {line.strip()}"
                 for line in body.splitlines() if re.search(r"<owner>|\(\)$", line)]
    for line in problems:
        print(line)
    print(f"notices: {len(expected)} linked parts with notices of their own, {len(problems)} "
          f"problems")
    return 1 if problems else 0


if __name__ == "__main__":
    command = {"notices": notices, "verify": verify}[sys.argv[1]]
    sys.exit(command(*sys.argv[2:]))
