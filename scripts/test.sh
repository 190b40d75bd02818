#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
# Installs what is missing, then builds and runs the whole test suite headless: the Windows
# platform layers under Wine and a bounded fuzzing run where their tools are installed (.ci/run
# installs them), then every test in a plain build with warnings as errors, the Windows program
# under Wine where it has been built, and every test again under AddressSanitizer and UBSan, and
# under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-debian.sh
echo "Testing on $(. /etc/os-release; echo "$PRETTY_NAME") with Qt $(
    dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || qmake6 -query QT_VERSION)"
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

if command -v x86_64-w64-mingw32-g++ >/dev/null &&
   { command -v wine64 >/dev/null || [ -x /usr/lib/wine/wine64 ]; }; then
    scripts/windows-check.sh
else
    echo "Skipping the Windows layer checks: g++-mingw-w64-x86-64 and wine64 are not installed."
fi

if command -v clang++ >/dev/null &&
   compgen -G "/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a" >/dev/null; then
    scripts/fuzz.sh "${LOPWINDER_FUZZ_SECONDS:-60}"
else
    echo "Skipping the fuzzing run: clang and libclang-rt-dev are not installed."
fi

# Each configuration is a preset of CMakePresets.json, in a folder of its own.
suite() { # PRESET
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1" -j "$jobs"
    ctest --preset "$1" -j "$jobs"
}
suite tests

# The Windows program, when scripts/windows-build.sh has built it (.ci/run does, in Debian 13): its
# zip and resources, then the program under Wine, in each look it meets on Windows, with the
# program that tells which style Qt picks.
if [ -f build-windows-app/lopwinder.exe ]; then
    tests/release/check_windows_zip.sh build-windows-app
    cmake --build build-windows-app --target style_report >/dev/null
    tests/e2e/run.sh build-windows-app/lopwinder.exe build/make-demo-rom build-windows-app/wine-run
else
    echo "Skipping the Windows program under Wine: scripts/windows-build.sh has not built it."
fi

# A suppression matches a library by its frames in the leak's stack: the stack is unwound in full
# (the fast unwinder stops at the first library built without frame pointers).
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0:fast_unwind_on_malloc=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
suite asan

# The music opens on threads of its own: the same tests again under ThreadSanitizer. The libraries
# it cannot see into (FluidSynth, Qt) have their reports suppressed, each with its reason.
export TSAN_OPTIONS="suppressions=$PWD/tests/tsan.supp:halt_on_error=1:second_deadlock_stack=1"
suite tsan
