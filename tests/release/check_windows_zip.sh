#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows release as a user receives it: the zip's files, and the program's resources read
# from the built file (icon, version information, manifest). Needs unzip and icoutils.
# Usage: check_windows_zip.sh BUILD_FOLDER
set -uo pipefail
cd "$1" || exit 1
zip=$(ls lopwinder-*-windows-x86_64.zip)
version=$(echo "$zip" | sed 's/lopwinder-\(.*\)-windows-x86_64.zip/\1/')
passed=0 failed=0
check() {
    if eval "$2" >/dev/null 2>&1; then passed=$((passed + 1)); else
        failed=$((failed + 1)) && echo "FAILED: $1"; fi
}
check "the zip's five files" '[ "$(unzip -Z1 "$zip" | tr "\n" " ")" = "lopwinder.exe \
supplimentary.dat LICENSE.txt THIRD-PARTY-NOTICES.txt README.txt " ]'
check "the program in the zip is the one built" 'unzip -p "$zip" lopwinder.exe | cmp - lopwinder.exe'
check "README.txt has CRLF line ends only" '! unzip -p "$zip" README.txt | grep -q "[^\r]$"'
check "the notices name Qt and the MinGW-w64 runtime" 'unzip -p "$zip" THIRD-PARTY-NOTICES.txt |
    grep -q "^Qt 6" && unzip -p "$zip" THIRD-PARTY-NOTICES.txt | grep -q "MinGW-w64 runtime"'
check "SHA256SUMS matches" 'sha256sum -c SHA256SUMS'
check "icons of 16, 24, 32, 48 and 256 px" '[ "$(wrestool -x -t 14 lopwinder.exe | icotool -l - |
    grep -o "width=[0-9]*" | tr "\n" " ")" = "width=16 width=24 width=32 width=48 width=256 " ]'
strings=$(wrestool -x --raw -t 16 lopwinder.exe | iconv -f UTF-16LE -t UTF-8 -c | tr "\0" "\n")
for pair in "ProductName Lopwinder" "FileVersion $version" "ProductVersion $version" \
            "CompanyName Lopwinder developers" "FileDescription Lopwinder: track order"; do
    check "version information: ${pair%% *}" 'grep -A1 "^${pair%% *}$" <<<"$strings" | tail -1 |
        grep -q "^${pair#* }"'
done
manifest=$(wrestool -x --raw -t 24 lopwinder.exe)
for part in ">true</longPathAware>" 'supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"' \
            ">PerMonitorV2</dpiAwareness>" 'name="Microsoft.Windows.Common-Controls"'; do
    check "manifest: $part" 'grep -qF "$part" <<<"$manifest"'
done
echo "release: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
