#!/usr/bin/env bash
# Batch rendering speed: the sample evaluation copied 200 times (each under its own
# agreement number), rendered with the three sample templates by `zentavo render`,
# once with --jobs 1 (one process) and once with --jobs 2 (worker processes).
#   bench/render_batch.sh [BUILD_DIR] [EVALUATIONS]
# Reports documents per second and the speed-up. Wall-clock time: run it on a quiet machine.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${1:-$here/build/release}
count=${2:-200}
tool="$build_dir/tools/zentavo"
[ -x "$tool" ] || { echo "no $tool; build first: bash scripts/build.sh $build_dir -DCMAKE_BUILD_TYPE=Release" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME="$work/data"
bash "$here/examples/make-sample.sh" "$tool" "$work/sample.zip" >/dev/null
mkdir -p "$work/evaluations"
for i in $(seq 1 "$count"); do
    cp "$work/sample.zip" "$work/evaluations/$i.zip"
    "$tool" set "$work/evaluations/$i.zip" "НОМЕР_ДОГОВОРА=Б-$i" >/dev/null
done
evaluations=("$work"/evaluations/*.zip)

seconds_for() {
    local jobs=$1 start end
    start=$(date +%s.%N)
    "$tool" render "${evaluations[@]}" --templates "$here/examples/templates" --out "$work/out-$jobs" \
        --jobs "$jobs" >/dev/null 2>&1
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" 'BEGIN { print b - a }'
}

documents=$((count * 3))
one=$(seconds_for 1)
two=$(seconds_for 2)
written=$(find "$work/out-2" -name '*.docx' -o -name '*.txt' | wc -l)
[ "$written" -eq "$documents" ] || { echo "expected $documents documents, found $written" >&2; exit 1; }
printf '%d evaluations x 3 templates = %d documents on %d cores\n' "$count" "$documents" "$(nproc)"
awk -v n="$documents" -v one="$one" -v two="$two" 'BEGIN {
    printf "--jobs 1: %6.2f s  %7.1f documents/s\n", one, n / one
    printf "--jobs 2: %6.2f s  %7.1f documents/s\n", two, n / two
    printf "speed-up: %.2f\n", one / two
}'
