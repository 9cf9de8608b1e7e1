#!/usr/bin/env bash
# Checks that no source file includes a header from a floor above its own:
#   scripts/check-layers.sh [ROOT]    (ROOT: the tree to check, by default this one)
# Prints one line per include that climbs (file:line, the include, which floor climbs to
# which) and exits 1; with none, prints a summary and exits 0.
set -euo pipefail

# The floors of the house, lowest first. A file may include headers of its own folder and
# of the floors below it. Folders named together share a floor and may not include each
# other. Folders of src/ are named here; tools/ is the top floor.
FLOORS=(runtime values model catalog evaluation "report catalogsource" tools)

root=${1:-$(dirname "$0")/..}
if [ ! -d "$root/src" ]; then
    echo "check-layers: no src/ folder in $root" >&2
    exit 2
fi
cd "$root"

mapfile -d '' files < <( { find src -mindepth 2 -type f -print0; [ ! -d tools ] || find tools -type f -print0; } | LC_ALL=C sort -z)
if [ ${#files[@]} -eq 0 ]; then
    echo "layers: 0 files, no include climbs a floor"
    exit 0
fi

floors=$(IFS=,; echo "${FLOORS[*]}")
awk -v floors="$floors" -v count="${#files[@]}" '
function folderOf(path, parts) {
    split(path, parts, "/")
    return parts[1] == "tools" ? "tools" : parts[2]
}
function fail(message) {
    print message
    failures++
}
BEGIN {
    total = split(floors, list, ",")
    for (i = 1; i <= total; i++) {
        n = split(list[i], names, " ")
        for (j = 1; j <= n; j++)
            level[names[j]] = i
        shown = list[i]
        gsub(/ /, ", ", shown)
        order = order (i > 1 ? " < " : "") shown
    }
    for (i = 1; i < ARGC; i++)
        if (!(folderOf(ARGV[i]) in level))
            fail(ARGV[i] ": " folderOf(ARGV[i]) " is on no floor")
}
FNR == 1 { own = folderOf(FILENAME) }
match($0, /^[ \t]*#[ \t]*include[ \t]*["<][^">]*[">]/) {
    directive = substr($0, RSTART, RLENGTH)
    sub(/^[ \t]*/, "", directive)
    target = directive
    sub(/^#[ \t]*include[ \t]*["<]/, "", target)
    while (sub(/^\.\.?\//, "", target)) {}
    slash = index(target, "/")
    if (slash == 0 || !(own in level))
        next
    folder = substr(target, 1, slash - 1)
    if (!(folder in level) || folder == own)
        next
    where = FILENAME ":" FNR ": " directive ": "
    if (level[folder] > level[own])
        fail(where own " climbs to " folder)
    else if (level[folder] == level[own])
        fail(where own " reaches across to " folder " on its own floor")
}
END {
    if (failures) {
        print "layers: a file includes its own folder and the floors below: " order > "/dev/stderr"
        exit 1
    }
    print "layers: " count " files, no include climbs a floor"
}
' "${files[@]}"
