#!/usr/bin/env bash
# Builds the native fuzz targets (tests/fuzz/: the product's code that parses a file's
# bytes, with libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer, by clang-16),
# runs each over every file of its seed corpus once, then fuzzes them.
#   fuzz.sh [SECONDS] [TARGET...]   fuzzes each target (all by default: IccProfile, ...)
#                                   for SECONDS (default 600), one after the other
#   fuzz.sh --check SECONDS         what test.sh runs: every corpus file once, then
#                                   SECONDS shared among all targets
# Inputs the fuzzer finds that reach new code are kept in build/fuzz/found/<name>/; an
# input that fails a target is written to build/fuzz/findings/ and the script fails. Fix
# the fault, then add the input to tests/fuzz/corpus/<name>/ so that every run tries it.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$ROOT"

check=false
if [ "${1:-}" = --check ]; then
    check=true
    shift
fi
seconds="${1:-600}"
[ $# -eq 0 ] || shift
case "$seconds" in '' | *[!0-9]*) echo "usage: fuzz.sh [--check] [SECONDS] [TARGET...]" >&2; exit 2 ;; esac

step "installing clang-16 where it is missing, building the fuzz targets"
bash scripts/setup.sh fuzz
fuzz_build="$BUILD/fuzz"
cmake -S tests/fuzz -B "$fuzz_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$fuzz_build" -j "$(nproc)" | grep -E 'warning|error' || true
[ "${PIPESTATUS[0]}" -eq 0 ] || { say "the fuzz targets did not build"; exit 1; }

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for source in tests/fuzz/*Fuzz.cpp; do
        name=$(basename "$source" Fuzz.cpp)
        targets+=("$name")
    done
fi
# IccProfile's corpus is tests/fuzz/corpus/icc-profile.
corpus_of() { echo "tests/fuzz/corpus/$(echo "$1" | sed -E 's/([a-z0-9])([A-Z])/\1-\2/g' | tr 'A-Z' 'a-z')"; }

mkdir -p "$fuzz_build/findings"
share=$seconds
! $check || share=$(((seconds + ${#targets[@]} - 1) / ${#targets[@]}))
failed=()
for name in "${targets[@]}"; do
    program="$fuzz_build/${name}Fuzz"
    corpus=$(corpus_of "$name")
    found="$fuzz_build/found/$(basename "$corpus")"
    # test.sh's short run starts afresh each time, so that it takes the same time.
    ! $check || rm -rf "$found"
    mkdir -p "$found" "$corpus"
    log="$fuzz_build/$name.log"
    step "$name: every file of $corpus once, then fuzzing for ${share} s"
    if ! "$program" -runs=0 "$corpus" >"$log" 2>&1 ||
        ! "$program" -max_total_time="$share" -print_final_stats=1 -artifact_prefix="$fuzz_build/findings/$name-" \
            "$found" "$corpus" >>"$log" 2>&1; then
        tail -n 40 "$log"
        failed+=("$name")
        continue
    fi
    say "$name: $(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}') executions, no finding" \
        "($(ls "$found" | wc -l) inputs of new reach kept in ${found#"$ROOT"/})"
done
end_step
if [ ${#failed[@]} -gt 0 ]; then
    say "FAILED: a finding in ${failed[*]}; its input is in ${fuzz_build#"$ROOT"/}/findings/"
    exit 1
fi
