#!/usr/bin/env bash
# The main job: builds the library and its command-line tool, builds the sample evaluation
# from examples/, and renders its documents (valuation report, inspection act, contract)
# from the sample templates (the report and the act from their DOCX and their ODT templates)
# into ./out.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${ZENTAVO_BUILD_DIR:-$here/build/release}
out=${ZENTAVO_SAMPLE_OUT:-$PWD/out}
bash "$here/scripts/build.sh" "$build_dir" -DCMAKE_BUILD_TYPE=Release -DZENTAVO_BUILD_TESTS=OFF >/dev/null
tool="$build_dir/tools/zentavo"

mkdir -p "$out"
# The sample keeps its catalog database (where its company logo lives) under ./out, so it
# never touches the user's own.
export XDG_DATA_HOME="$out/.sample-data"
rm -rf "$XDG_DATA_HOME"
evaluation=$(bash "$here/examples/make-sample.sh" "$tool" "$out/sample-evaluation.zip")
"$tool" render "$evaluation" --templates "$here/examples/templates" --out "$out" --overwrite
echo
echo "The sample evaluation is $evaluation; its documents are in the folder above."
