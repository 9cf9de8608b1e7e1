#!/usr/bin/env bash
# Checks the layers, then builds the library with its tests and runs them; then builds the
# API reference and checks the packaging of that build, each when its tools are installed
# (doxygen; dpkg-deb, with lintian where present).
# ZENTAVO_SANITIZE=ON adds ASan and UBSan.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/check-layers.sh"
sanitize=${ZENTAVO_SANITIZE:-OFF}
build_dir=${ZENTAVO_BUILD_DIR:-$here/build/test-$( [ "$sanitize" = ON ] && echo asan || echo plain )}
bash "$here/scripts/build.sh" "$build_dir" -DCMAKE_BUILD_TYPE=Debug -DZENTAVO_SANITIZE="$sanitize" -DZENTAVO_BUILD_TESTS=ON
(cd "$build_dir" && ctest --output-on-failure -j "$(nproc)")

if command -v doxygen >/dev/null 2>&1; then
    cmake --build "$build_dir" --target docs
else
    echo "docs: skipped, doxygen is not installed (apt-get install doxygen)"
fi
if command -v dpkg-deb >/dev/null 2>&1; then
    bash "$here/scripts/package.sh" --check "$build_dir"
else
    echo "packages: skipped, dpkg-deb is not installed (not a Debian system)"
fi
