#!/usr/bin/env bash
# The main job: builds the library and its command-line tool, then runs the tool on the sample.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${ZENTAVO_BUILD_DIR:-$here/build/release}
bash "$here/scripts/build.sh" "$build_dir" -DCMAKE_BUILD_TYPE=Release -DZENTAVO_BUILD_TESTS=OFF
"$build_dir/tools/zentavo" sample "$here/examples" "$build_dir/sample-output"
