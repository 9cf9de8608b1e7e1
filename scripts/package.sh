#!/usr/bin/env bash
# Makes the Debian packages and checks them:
#   scripts/package.sh [OUT_DIR]        a Release build of its own (build/package), then the
#                                       packages into OUT_DIR (build/package/packages)
#   scripts/package.sh --check BUILD    the same checks on the packages of an existing build,
#                                       made into a scratch folder and thrown away (CI, whose
#                                       build has the sanitizers in: such packages are for
#                                       checking the packaging, never for installing)
# The checks: each package holds its own files and none of another's, its dependencies
# name Debian's Qt and QuaZip packages and apt can satisfy them, lintian finds no error
# (installed for a release, used by --check where it is there),
# and a host project (docs/host-example) finds the library with find_package(Zentavo) in
# the packages unpacked into a fresh root, builds, and renders the sample evaluation,
# made by the unpacked tool, resolving a tag as the tool does.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

check_only=false
if [ "${1:-}" = "--check" ]; then
    check_only=true
    build=$(cd "${2:?usage: scripts/package.sh --check BUILD_DIR}" && pwd)
else
    build=${ZENTAVO_PACKAGE_BUILD_DIR:-$here/build/package}
    out=${1:-$build/packages}
fi

if $check_only; then
    bash "$here/scripts/deps.sh" dpkg-dev file
else
    bash "$here/scripts/deps.sh" dpkg-dev file lintian
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if $check_only; then
    packages=$work/packages
else
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
        -DZENTAVO_BUILD_TESTS=OFF -DZENTAVO_SANITIZE=OFF >/dev/null
    cmake --build "$build" -j "$(nproc)"
    packages=$out
fi
cached() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }

mkdir -p "$packages"
rm -f "$packages"/*.deb
(cd "$build" && cpack -G DEB -B "$work/cpack" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log" >&2; exit 1; }
mv "$work"/cpack/*.deb "$packages/"

failures=0
fail() {
    echo "package: $*" >&2
    failures=$((failures + 1))
}

version=$(cached CMAKE_PROJECT_VERSION)
# The SONAME carries the major version, and before 1.0 the minor one too.
soversion=$(echo "$version" | awk -F. '$1 == 0 { print $1 "." $2; next } { print $1 }')
libdir=$(cached CMAKE_INSTALL_LIBDIR)
if ! $check_only; then
    multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
    [ "$libdir" = "lib/$multiarch" ] || fail "the library goes to /usr/$libdir, not to Debian's /usr/lib/$multiarch"
fi
runtime=$(ls "$packages"/libzentavo"$soversion"_*.deb 2>/dev/null || true)
development=$(ls "$packages"/libzentavo-dev_*.deb 2>/dev/null || true)
tool=$(ls "$packages"/zentavo_*.deb 2>/dev/null || true)
for package in runtime development tool; do
    [ -n "${!package}" ] || fail "no $package package among: $(ls "$packages")"
done
[ "$failures" -eq 0 ] || exit 1

# Each package holds the files named here, and none of the others' files. (Listings go to
# files first: grep -q ending a pipe early would fail it under pipefail.)
contents() {
    local listing
    listing=$work/$(basename "$1").files
    [ -f "$listing" ] || dpkg-deb --contents "$1" | awk '{ print $6 }' | sed 's|^\./|/|' >"$listing"
    cat "$listing"
}
expect_file() {
    contents "$1" >"$work/listing"
    grep -qx -- "$2" "$work/listing" || fail "$(basename "$1") lacks $2"
}
refuse_file() {
    contents "$1" >"$work/listing"
    if grep -qE -- "$2" "$work/listing"; then
        fail "$(basename "$1") holds what belongs elsewhere: $(grep -E -- "$2" "$work/listing" | head -1)"
    fi
}
expect_file "$runtime" "/usr/$libdir/libzentavo.so.$version"
expect_file "$runtime" "/usr/$libdir/libzentavo.so.$soversion"
refuse_file "$runtime" '^/usr/include/|/libzentavo\.so$|/cmake/|^/usr/bin/'
expect_file "$development" "/usr/include/zentavo/evaluation/autoevaluation.h"
expect_file "$development" "/usr/include/zentavo/zentavo_export.h"
expect_file "$development" "/usr/$libdir/libzentavo.so"
expect_file "$development" "/usr/$libdir/cmake/Zentavo/ZentavoConfig.cmake"
expect_file "$development" "/usr/$libdir/cmake/Zentavo/ZentavoConfigVersion.cmake"
expect_file "$development" "/usr/$libdir/cmake/Zentavo/ZentavoTargets.cmake"
refuse_file "$development" '/libzentavo\.so\.|^/usr/bin/|singletonregistry\.h$'
expect_file "$tool" "/usr/bin/zentavo"
expect_file "$tool" "/usr/share/man/man1/zentavo.1.gz"
refuse_file "$tool" '/libzentavo\.so|^/usr/include/'

# The dependencies: Debian's packages of what the binaries link and what the CMake
# configuration finds, and each package of ours on the library of its own version.
depends() { dpkg-deb --field "$1" Depends | tr ',' '\n' | sed 's/^ *//; s/ *$//'; }
# expect_dependency PACKAGE NAME [VERSION]: VERSION is the exact one, "(= VERSION-revision)".
expect_dependency() {
    local found
    found=$(depends "$1" | grep -E -- "^${2//./\\.}( |\$)" || true)
    if [ -z "$found" ]; then
        fail "$(basename "$1") does not depend on $2: $(dpkg-deb --field "$1" Depends)"
    elif [ -n "${3:-}" ] && [[ "$found" != "$2 (= $3-"* ]]; then
        fail "$(basename "$1") depends on $found, not on version $3 exactly"
    fi
}
for dependency in libqt6core6 libqt6gui6 libqt6network6 libqt6sql6 libqt6sql6-sqlite 'libquazip1-qt6-1'; do
    expect_dependency "$runtime" "$dependency"
done
expect_dependency "$development" "qt6-base-dev"
expect_dependency "$development" "libquazip1-qt6-dev"
expect_dependency "$development" "libzentavo$soversion" "$version"
expect_dependency "$tool" "libzentavo$soversion"
dpkg-deb --fsys-tarfile "$runtime" | tar -xO "./usr/$libdir/libzentavo.so.$version" >"$work/library"
soname=$(readelf -d "$work/library" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
[ "$soname" = "libzentavo.so.$soversion" ] || fail "the library's SONAME is \"$soname\", not libzentavo.so.$soversion"
dpkg-deb --ctrl-tarfile "$runtime" | tar -t | grep -x './shlibs' >/dev/null || fail "$(basename "$runtime") has no shlibs file for the packages built on it"

# apt can install the three together: every dependency is a package it knows.
apt-get install --simulate --no-install-recommends "$runtime" "$development" "$tool" >"$work/apt.log" 2>&1 \
    || fail "apt cannot install the packages: $(grep -E '^ |^E:' "$work/apt.log" | head -5)"

if command -v lintian >/dev/null 2>&1; then
    # Tags at warning level are shown; an error fails. The copyright file and the
    # changelog wait for the project's licence and release notes.
    lintian --fail-on error --suppress-tags no-copyright-file,no-changelog \
        "$runtime" "$development" "$tool" || fail "lintian found errors"
else
    echo "package: lintian is not installed, the packages are not linted (apt-get install lintian)"
fi

# A fresh root with the three packages unpacked, and a host project built against it.
root=$work/root
for package in "$runtime" "$development" "$tool"; do
    dpkg-deb --extract "$package" "$root"
done
host_flags=()
if [ "$(cached ZENTAVO_SANITIZE)" = ON ]; then
    host_flags=(-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined)
    # The library's singletons live until the process ends, by design.
    export ASAN_OPTIONS=detect_leaks=0
fi
cmake -S "$here/docs/host-example" -B "$work/host" -G Ninja -DCMAKE_PREFIX_PATH="$root/usr" \
    -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF "${host_flags[@]}" >"$work/host.log" 2>&1 \
    || { cat "$work/host.log" >&2; fail "the host project does not configure against the unpacked packages"; exit 1; }
grep -q "$root/usr/$libdir/cmake/Zentavo" "$work/host/CMakeCache.txt" \
    || fail "the host project found another Zentavo than the unpacked one: $(grep Zentavo_DIR "$work/host/CMakeCache.txt")"
cmake --build "$work/host" >>"$work/host.log" 2>&1 \
    || { cat "$work/host.log" >&2; fail "the host project does not build against the unpacked packages"; exit 1; }

mkdir -m 700 "$work/runtime"
export LD_LIBRARY_PATH="$root/usr/$libdir" XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config \
    XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=offscreen
ldd "$work/host/zentavo-host-example" | grep "libzentavo.so.$soversion => $root/" >/dev/null \
    || fail "the host does not load the unpacked library: $(ldd "$work/host/zentavo-host-example" | grep zentavo)"
evaluation=$(bash "$here/examples/make-sample.sh" "$root/usr/bin/zentavo" "$work/sample.zip")
tag='СТОИМОСТЬ_УСЛУГ#R'
expected=$("$root/usr/bin/zentavo" tags "$evaluation" "$tag")
if "$work/host/zentavo-host-example" "$evaluation" "$here/examples/templates" "$work/out" "$tag" >"$work/host.out"; then
    grep -qxF -- "$expected" "$work/host.out" || fail "the host resolves $tag otherwise than the tool: $(cat "$work/host.out")"
    documents=$(find "$work/out" -type f \( -name '*.docx' -o -name '*.odt' -o -name '*.txt' \) | wc -l)
    [ "$documents" -gt 0 ] || fail "the host rendered no document"
    echo "package: the example host, built against the unpacked packages: $(head -1 "$work/host.out"); $documents document(s) rendered"
else
    fail "the host failed on the sample evaluation: $(cat "$work/host.out")"
fi
zcat "$root/usr/share/man/man1/zentavo.1.gz" | grep '^\.SS "zentavo render"' >/dev/null || fail "the manual page has no section on render"

if [ "$failures" -gt 0 ]; then
    echo "package: $failures check(s) failed" >&2
    exit 1
fi
if $check_only; then
    echo "package: the packaging checks passed ($(basename "$runtime"), $(basename "$development"), $(basename "$tool"))"
else
    echo "package: checked and ready in $packages:"
    ls -1 "$packages"
fi
