#!/usr/bin/env bash
# Configures and builds into a build directory: scripts/build.sh BUILD_DIR [cmake options...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$1; shift
bash "$here/scripts/deps.sh"
cmake -S "$here" -B "$build_dir" -G Ninja "$@"
cmake --build "$build_dir" -j "$(nproc)"
