#!/usr/bin/env bash
# Checks the layers, then builds the library with its tests and runs them.
# ZENTAVO_SANITIZE=ON adds ASan and UBSan.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/check-layers.sh"
sanitize=${ZENTAVO_SANITIZE:-OFF}
build_dir=${ZENTAVO_BUILD_DIR:-$here/build/test-$( [ "$sanitize" = ON ] && echo asan || echo plain )}
bash "$here/scripts/build.sh" "$build_dir" -DCMAKE_BUILD_TYPE=Debug -DZENTAVO_SANITIZE="$sanitize" -DZENTAVO_BUILD_TESTS=ON
cd "$build_dir"
ctest --output-on-failure -j "$(nproc)"
