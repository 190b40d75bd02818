#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows release as a user receives it: the zip's files, and the program's resources read
# from the built file (icon, version information, manifest). Needs unzip and icoutils.
# Usage: check_windows_zip.sh BUILD_FOLDER
set -u
cd "$1" || exit 1
zip=$(ls lopwinder-*-windows-x86_64.zip)
version=${zip#lopwinder-} version=${version%-windows-x86_64.zip}
passed=0 failed=0
check() { # WHAT COMMAND...
    if "${@:2}" >/dev/null 2>&1; then passed=$((passed + 1)); else
        failed=$((failed + 1)) && echo "FAILED: $1"; fi
}
file() { unzip -p "$zip" "$1"; }
check "the zip's five files, in order" [ "$(unzip -Z1 "$zip" | tr '\n' ' ')" = \
    "lopwinder.exe supplimentary.dat LICENSE.txt THIRD-PARTY-NOTICES.txt README.txt " ]
check "the program in the zip is the one built" cmp <(file lopwinder.exe) lopwinder.exe
check "README.txt has CRLF line ends only" [ "$(file README.txt | grep -cv $'\r$')" = 0 ]
check "the notices name Qt" grep -q "^Qt $version\|^Qt 6" <(file THIRD-PARTY-NOTICES.txt)
check "the notices name the MinGW-w64 runtime" grep -q "^MinGW-w64 runtime" \
    <(file THIRD-PARTY-NOTICES.txt)
check "SHA256SUMS matches" sha256sum -c SHA256SUMS
wrestool -x -t 14 lopwinder.exe >icons.ico
check "icons of 16, 24, 32, 48 and 256 px" [ "$(icotool -l icons.ico | grep -o 'width=[0-9]*' |
    tr '\n' ' ')" = "width=16 width=24 width=32 width=48 width=256 " ]
strings=$(wrestool -x --raw -t 16 lopwinder.exe | iconv -f UTF-16LE -t UTF-8 -c | tr '\0' '\n')
for pair in "ProductName=Lopwinder" "FileVersion=$version" "ProductVersion=$version" \
            "CompanyName=Lopwinder developers" "FileDescription=Lopwinder: track order editor"; do
    check "version information: $pair" grep -q "^${pair#*=}" <(grep -a -A2 "${pair%%=*}$" <<<"$strings")
done
manifest=$(wrestool -x --raw -t 24 lopwinder.exe)
for part in ">true</longPathAware>" 'supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"' \
            ">PerMonitorV2</dpiAwareness>" 'name="Microsoft.Windows.Common-Controls"'; do
    check "manifest: $part" grep -qF "$part" <<<"$manifest"
done
rm -f icons.ico
echo "release: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
