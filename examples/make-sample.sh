#!/usr/bin/env bash
# Builds the sample evaluation file from its readable sources beside this script:
#   examples/make-sample.sh ZENTAVO_TOOL OUTPUT.zip
# sample-evaluation.txt holds its tags, one "NAME=value" line each as the file stores
# them; photos/vehicle.awk draws its two photos and photos/logo.awk the logo of its
# appraisal company, which goes into the catalog database (XDG_DATA_HOME decides where).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tool=$1
output=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

rm -f "$output"
"$tool" set "$output" --from "$here/sample-evaluation.txt" >/dev/null
awk -v body="235 235 235" -v view=side -f "$here/photos/vehicle.awk" >"$work/side.ppm"
awk -v body="235 235 235" -v view=front -f "$here/photos/vehicle.awk" >"$work/front.ppm"
"$tool" photo add "$output" "$work/side.ppm" "$work/front.ppm" >/dev/null
awk -f "$here/photos/logo.awk" >"$work/logo.ppm"
"$tool" company logo "$output" "$work/logo.ppm" >/dev/null
echo "$output"
