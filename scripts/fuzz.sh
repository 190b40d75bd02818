#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
# Builds the fuzz target with clang (AddressSanitizer and UBSan on) and runs it for a bounded
# time, SECONDS (default 60), starting from the kept corpus. A crash leaves its input in
# build-fuzz/; fix it and add the input to tests/fuzz/corpus as a regression case.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

build=build-fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target fuzz_identify

work="$build/corpus"
mkdir -p "$work"
cp -n tests/fuzz/corpus/* "$work"/ 2>/dev/null || true
cd "$build"
# The kept cases first, on their own: each must pass as it is.
./tests/fuzz/fuzz_identify ../tests/fuzz/corpus/* > kept.log 2>&1 || { cat kept.log; exit 1; }
echo "fuzzing: $(grep -c '^Executed' kept.log) kept cases pass"
status=0
./tests/fuzz/fuzz_identify -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
    -artifact_prefix=crash- corpus > fuzz.log 2>&1 || status=$?
if [ "$status" -ne 0 ]; then
    tail -40 fuzz.log
    echo "fuzzing: a crash; its input is in $build/$(ls crash-* 2>/dev/null | head -1)" >&2
    exit 1
fi
echo "fuzzing: no crash in $(grep -m1 '^stat::number_of_executed_units' fuzz.log | awk '{print $2}') runs over $seconds s"
