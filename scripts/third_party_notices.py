#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
"""The Windows release's notices and SPDX document, from what its builds declare.

third_party_notices.py notices QT_ROOT QT_VERSION LINKER_MAP OUTPUT
    Writes THIRD-PARTY-NOTICES.txt (CRLF): Qt and each package of it that Qt's own bill of
    materials (QT_ROOT/opt/lopwinder-qt/sbom/*.spdx, written by Qt's build for exactly the Qt
    built) declares, with its licence and copyright; the MinGW-w64 and GCC runtimes the link map
    names, with their Debian packages' copyright files; then the full text of every licence named:
    Qt's own from its bill of materials or its source's LICENSES folder, the runtimes' from
    /usr/share/common-licenses.
third_party_notices.py spdx QT_ROOT VERSION LINKER_MAP EXE TIME OUTPUT
    Writes the SPDX 2.3 document of lopwinder.exe: the program, Qt (by reference to Qt's document,
    which goes out beside it) and the runtime packages it is linked with, and the compiler.
"""
import glob
import hashlib
import json
import os
import re
import subprocess
import sys
import tempfile
import tarfile
import textwrap

RULE = "=" * 78 + "\n"
NO_LICENCE = ("NOASSERTION", "NONE")


def qt_sbom_path(qt_root):
    return glob.glob(os.path.join(qt_root, "opt", "lopwinder-qt", "sbom", "*.spdx"))[0]


def read_sbom(path):
    """Qt's SPDX tag-value document: its records (a package, a licence, the document), each a dict
    of tag to the list of its values."""
    current = {}
    records = [current]
    for tag, block, line in re.findall(r"^(\w+): (?:<text>(.*?)</text>|(.*?))$",
                                       open(path, encoding="utf-8").read(), re.M | re.S):
        if tag in ("PackageName", "LicenseID"):
            current = {}
            records.append(current)
        current.setdefault(tag, []).append((block or line).strip())
    return records


def licence_ids(expression):
    return sorted({w for w in re.findall(r"[A-Za-z0-9.+-]+", expression)
                   if w not in ("AND", "OR", "WITH") + NO_LICENCE})


def unpack_licences(qt_root, folder):
    """Of the Qt source the build was made from (Debian's original tarball, or the modified tree
    built), what holds licences: LICENSES/, every qt_attribution.json and the licence files beside
    them. Returns the folder they are unpacked in."""
    source = sorted(glob.glob(os.path.join(qt_root, "source", "*.orig.tar.*")) +
                    glob.glob(os.path.join(qt_root, "source", "*-modified.tar.xz")))[0]
    with tarfile.open(source) as tar:
        for member in tar:
            name = re.sub(r"^\./", "", member.name)
            if "orig" in source:
                name = name.partition("/")[2]
            if member.isfile() and re.search(r"^LICENSES/|qt_attribution\.json$|LICENSE|COPYING",
                                             name):
                member.name = name
                tar.extract(member, folder, **({"filter": "data"} if hasattr(tarfile, "data_filter")
                                               else {}))
    return folder


def attribution_licence(source, record):
    """The licence file(s) of the attribution a package was extracted from, as its comment says."""
    found = re.search(r"extracted from:\s*/src_dir/qtbase/(\S+)\s*Entry index: (\d+)",
                      record.get("PackageComment", [""])[0])
    if not found:
        return None
    entries = json.load(open(os.path.join(source, found.group(1))))
    entry = (entries if isinstance(entries, list) else [entries])[int(found.group(2))]
    files = entry.get("LicenseFiles") or [entry["LicenseFile"]]
    folder = os.path.dirname(os.path.join(source, found.group(1)))
    return "\n\n".join(text(os.path.join(folder, f)).strip() for f in files)


def qt_packages(records, source, standard):
    """Qt's packages under a licence, grouped by licence, copyright and licence file: (licence,
    copyright, names, own text). A licence neither the bill of materials nor LICENSES/ has a text
    for comes with the text of the attribution the package was made from."""
    groups = {}
    qt = next(r["PackageVersion"][0] for r in records if r.get("PackageName") == ["qtbase"])
    for r in records:
        licence = r.get("PackageLicenseConcluded", ["NOASSERTION"])[0]
        if "PackageName" not in r or licence in NO_LICENCE:
            continue
        name = r["PackageName"][0]
        version = r.get("PackageVersion", ["unknown"])[0]
        if version not in ("unknown", qt):
            name += f" {version}"
        own = None
        if any(i not in standard for i in licence_ids(licence)):
            own = attribution_licence(source, r)
            if own is None:
                raise SystemExit(f"third-party notices: no text for {licence} of {name}")
        key = (licence, r.get("PackageCopyrightText", ["NOASSERTION"])[0], own)
        groups.setdefault(key, []).append(name)
    return [key + (names,) for key, names in groups.items()]


def fill(paragraph):
    return textwrap.fill(paragraph, 100, break_long_words=False, break_on_hyphens=False)


def notices(qt_root, qt_version, linker_map, output):
    sbom = qt_sbom_path(qt_root)
    records = read_sbom(sbom)
    if glob.glob(os.path.join(qt_root, "source", "*.dsc")):
        origin = f"built from Debian's qt6-base source package, version {qt_version}."
    else:
        origin = (f"built from a modified Qt source tree (its host tools: Debian's qt6-base "
                  f"{qt_version}), distributed beside this zip.")
    header = f"""Third-party notices for lopwinder.exe

Lopwinder is free software under the GNU General Public License, version 3 or later (LICENSE.txt).
The program file lopwinder.exe also contains the following components, linked in statically.
Their licences and copyright notices follow; the full texts of the licences are at the end of
this file.

{RULE}Qt (qtbase: Qt Core, Qt Gui, Qt Widgets, the Windows platform plugin and the Windows 11 and
Windows Vista styles), {origin}
Copyright (C) The Qt Company Ltd. and other contributors, as each file of Qt says.
Licence: GNU Lesser General Public License, version 3 (LGPL-3.0-only).

Qt is linked statically. The complete corresponding source of lopwinder.exe is distributed
alongside this zip, as README.txt says: Lopwinder's own source at the release's commit, the very
Qt source it was built with, and the script and options that build it; so the program can be
rebuilt and relinked against a modified version of Qt.
Below: the packages of that Qt build, each with its licence and copyright, as Qt's own bill of
materials for it ({os.path.basename(sbom)}, beside this zip) declares them.
"""
    sections, ids = [], set()
    with tempfile.TemporaryDirectory() as folder:
        source = unpack_licences(qt_root, folder)
        # Each licence's text: the bill of materials' own (LicenseRef-), else Qt's LICENSES/.
        standard = {r["LicenseID"][0]: r["ExtractedText"][0] for r in records
                    if "ExtractedText" in r}
        for path in glob.glob(os.path.join(source, "LICENSES", "*.txt")):
            # Without the template's copyright line: each package's own stands above.
            standard.setdefault(os.path.basename(path)[:-4], re.sub(
                r"(?m)^Copyright (\(c\) )?<year> <[^>]*>.*\n\n?", "", text(path)).strip())
        for licence, copyright, own, names in qt_packages(records, source, standard):
            ids.update(i for i in licence_ids(licence) if i in standard)
            sections.append(fill("Qt packages: " + ", ".join(names)) +
                            f"\nLicence: {licence}\n{copyright}\n" +
                            (f"\n{own}\n" if own else ""))
    body = header + "".join(RULE + s for s in sections + runtime_sections(linker_map))
    referred, unknown = licences_referred(body)
    if unknown:
        raise SystemExit(f"third-party notices: no text for {', '.join(sorted(unknown))}")
    # The GCC runtime is under the GPL, version 3.
    referred.add("GPL-3")
    texts = [(i, standard[i]) for i in sorted(ids)]
    # A licence Qt's source gives the text of already ("GPL-3.0-only" for Debian's "GPL-3").
    given = {re.sub(r"\.0-only$", "", i) for i in ids} | ids
    order = list(LICENCE_NAMES)
    for f in sorted(referred, key=lambda f: (order.index(f) if f in order else 99, f)):
        if f not in given:
            texts.append((LICENCE_NAMES.get(f, f), text(COMMON + f).strip()))
    licences = "".join(f"{RULE}Licence text: {name}\n\n{t}\n" for name, t in texts)
    with open(output, "w", newline="\r\n") as out:
        out.write(body + licences)


def sha(path, kind):
    return hashlib.new(kind, open(path, "rb").read()).hexdigest()


def spdx(qt_root, version, linker_map, exe, time, output):
    sbom = qt_sbom_path(qt_root)
    namespace = next(r for r in read_sbom(sbom) if "DocumentNamespace" in r)
    namespace = namespace["DocumentNamespace"][0]
    compiler, (compiler_package, compiler_version), runtime = toolchain(linker_map)
    name = f"lopwinder-{version}-windows-x86_64"
    lines = [
        "SPDXVersion: SPDX-2.3", "DataLicense: CC0-1.0", "SPDXID: SPDXRef-DOCUMENT",
        f"DocumentName: {name}",
        f"DocumentNamespace: https://lopwinder.net/spdxdocs/{name}-{sha(exe, 'sha256')[:16]}",
        f"ExternalDocumentRef: DocumentRef-qtbase {namespace} SHA1: {sha(sbom, 'sha1')}",
        "Creator: Organization: Lopwinder developers",
        "Creator: Tool: scripts/third_party_notices.py", f"Created: {time}", "",
        "PackageName: Lopwinder", "SPDXID: SPDXRef-Package-lopwinder", f"PackageVersion: {version}",
        "PackageFileName: lopwinder.exe", "PackageSupplier: Organization: Lopwinder developers",
        f"PackageDownloadLocation: NOASSERTION", "FilesAnalyzed: false",
        f"PackageChecksum: SHA256: {sha(exe, 'sha256')}",
        "PackageLicenseConcluded: GPL-3.0-or-later", "PackageLicenseDeclared: GPL-3.0-or-later",
        "PackageCopyrightText: Copyright (C) 2026 Lopwinder developers",
        f"PackageSourceInfo: lopwinder-{version}-source.tar.xz, beside the zip",
        "PrimaryPackagePurpose: APPLICATION",
        "Relationship: SPDXRef-DOCUMENT DESCRIBES SPDXRef-Package-lopwinder",
        "Relationship: SPDXRef-Package-lopwinder STATIC_LINK DocumentRef-qtbase:SPDXRef-Package-qtbase",
    ]
    packages = sorted(set(runtime) | {(compiler_package, compiler_version)})
    for package, package_version in packages:
        ident = "SPDXRef-Package-deb-" + re.sub(r"[^A-Za-z0-9.-]", "-", package)
        lines += ["", f"PackageName: {package}", f"SPDXID: {ident}",
                  f"PackageVersion: {package_version}", "PackageSupplier: Organization: Debian",
                  "PackageDownloadLocation: NOASSERTION", "FilesAnalyzed: false",
                  "PackageLicenseConcluded: NOASSERTION", "PackageLicenseDeclared: NOASSERTION",
                  "PackageCopyrightText: NOASSERTION",
                  "PackageComment: <text>Its licences and copyright: THIRD-PARTY-NOTICES.txt in "
                  "the zip, from /usr/share/doc/" + package + "/copyright</text>"]
        if (package, package_version) in runtime:
            lines.append(f"Relationship: SPDXRef-Package-lopwinder STATIC_LINK {ident}")
        if package == compiler_package:
            lines.append(f"Relationship: {ident} BUILD_TOOL_OF SPDXRef-Package-lopwinder")
    with open(output, "w") as out:
        out.write("\n".join(lines) + "\n")


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


def text(path):
    return open(path, encoding="utf-8", errors="replace").read().rstrip() + "\n"


if __name__ == "__main__":
    command = {"notices": notices, "spdx": spdx}[sys.argv[1]]
    sys.exit(command(*sys.argv[2:]))
