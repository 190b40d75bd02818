#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
"""The release's notices and bill of materials, read on their own: every licence Qt's bill of
materials names has its text in the notices (its own text, or the one in Qt's source beside the
zip); the toolchain they name is the one whose runtime is in the program; no template field is
left. Prints each problem.
Usage: check_notices.py QT_SBOM NOTICES PROGRAM_SPDX LINKER_MAP QT_ORIG_TARBALL COMPILER"""
import re
import subprocess
import sys
import tarfile

qt_sbom, notices, program_spdx, linker_map, orig, compiler = sys.argv[1:]
flat = lambda t: re.sub(r"\s+", " ", t).strip()
sbom = open(qt_sbom, encoding="utf-8").read()
body = open(notices, encoding="utf-8").read().replace("\r\n", "\n")
problems = []
# The notices' own words, before the licence texts (which are templates by nature).
own = body.split("\nLicence text: ")[0]

texts = dict(re.findall(r"^LicenseID: (\S+)\nExtractedText: <text>(.*?)</text>", sbom, re.M | re.S))
with tarfile.open(orig) as tar:
    for member in tar:
        found = re.fullmatch(r"[^/]+/LICENSES/(.+)\.txt", member.name)
        if found and found.group(1) not in texts:
            texts[found.group(1)] = tar.extractfile(member).read().decode()
for expression in sorted(set(re.findall(r"^PackageLicenseConcluded: (.+)$", sbom, re.M))):
    for licence in set(re.findall(r"[\w.+-]+", expression)) - {"AND", "OR", "WITH", "NOASSERTION"}:
        if licence not in texts:
            # A licence with no text of its own: its package's section must quote one.
            section = re.search(r"Licence: " + re.escape(expression) + r"\n(.*?)\n=====", own, re.S)
            if not section or section.group(1).count("\n") < 10:
                problems.append(f"{licence} is named and no text of it is given")
        # A template's own copyright line gives way to each package's.
        elif flat(re.sub(r"(?m)^Copyright (\(c\) )?<year> <[^>]*>.*$", "", texts[licence])) \
                not in flat(body):
            problems.append(f"{licence} is named and its text is not in the notices")

# The C++ runtime the link took (the linker's map) is the named compiler's own.
runtime = subprocess.run([compiler, "-print-file-name=libstdc++.a"], capture_output=True,
                         text=True).stdout.strip()
if f"{runtime}(" not in open(linker_map, errors="replace").read():
    problems.append(f"lopwinder.exe was not linked with {compiler}'s runtime ({runtime})")
package = subprocess.run(["dpkg", "-S", subprocess.run(["readlink", "-f", f"/usr/bin/{compiler}"],
                          capture_output=True, text=True).stdout.strip()],
                         capture_output=True, text=True).stdout.split(":")[0]
package_version = subprocess.run(["dpkg-query", "-W", "-f=${Version}", package],
                                 capture_output=True, text=True).stdout
named = f"({compiler}, Debian's {package} {package_version})"
if flat(named) not in flat(own):
    problems.append(f"the notices do not name the compiler that built the program: {named}")
spdx = open(program_spdx, encoding="utf-8").read()
if not re.search(rf"PackageName: {re.escape(package)}\nSPDXID: (\S+)\nPackageVersion: "
                 rf"{re.escape(package_version)}\n(.*\n)*?Relationship: \1 BUILD_TOOL_OF", spdx):
    problems.append(f"the program's SPDX document does not name {package} {package_version}")
for name, words in (("notices", own), ("SPDX document", spdx)):
    for field in re.findall(r"<year>|<owner>|<copyright holders?>|@[A-Z_]+@|\(\)|NOASSERTION \w",
                            words):
        problems.append(f"the {name} leave a template field: {field}")
for line in problems:
    print(line)
sys.exit(1 if problems else 0)
