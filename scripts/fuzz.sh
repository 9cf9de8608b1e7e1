#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and fuzzes each in turn, two at a time:
#   scripts/fuzz.sh [seconds per target] [target...]
# Each target starts from its seeds in tests/fuzz/<target>/ and keeps what it finds
# under build/fuzz/corpus/<target>/. An input that crashes, hangs beyond 10 s or takes
# more than 512 MiB lands in build/fuzz/findings/<target>/: fix it, then commit it as
# tests/fuzz/<target>/regressions/<name> so the test suite replays it.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}; shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(taglines evaluationfile texttemplate docxpart metatags vehiclefeed peoplefeed bankarchive)
build="$here/build/fuzz"

bash "$here/scripts/deps.sh" clang libclang-rt-dev
CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G Ninja -DZENTAVO_FUZZ=ON \
    -DZENTAVO_BUILD_TESTS=OFF -DZENTAVO_BUILD_TOOLS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

fuzz_one() {
    local target=$1
    mkdir -p "$build/corpus/$target" "$build/findings/$target"
    local status=0
    # Skipped bank lines go to standard output: closed (-close_fd_mask=1). ASan's default
    # quarantine of 256 MiB of freed memory would count against the 512 MiB; 32 MiB still
    # catches a use after free in the next few thousand allocations.
    ASAN_OPTIONS=quarantine_size_mb=32 QT_QPA_PLATFORM=offscreen "$build/tests/fuzz/fuzz_$target" "$build/corpus/$target" "$here/tests/fuzz/$target" \
        -max_total_time="$seconds" -rss_limit_mb=512 -timeout=10 -close_fd_mask=1 -print_final_stats=1 \
        -artifact_prefix="$build/findings/$target/" >"$build/findings/$target.log" 2>&1 || status=$?
    local done_line stats
    done_line=$(grep -E '^Done [0-9]+ runs' "$build/findings/$target.log" | tail -1 || true)
    stats=$(grep -E '^#[0-9]+\s+DONE|^==[0-9]+== ERROR' "$build/findings/$target.log" | tail -1 || true)
    echo "$target: exit $status; ${done_line:-no summary}; ${stats:-}"
    return "$status"
}

status=0
for ((i = 0; i < ${#targets[@]}; i += 2)); do
    fuzz_one "${targets[i]}" &
    first=$!
    second=
    if ((i + 1 < ${#targets[@]})); then
        fuzz_one "${targets[i + 1]}" &
        second=$!
    fi
    wait "$first" || status=1
    [ -z "$second" ] || wait "$second" || status=1
done
findings=$(find "$build/findings" -mindepth 2 -type f | wc -l)
echo "findings: $findings (under $build/findings)"
[ "$findings" -eq 0 ] && exit "$status" || exit 1
