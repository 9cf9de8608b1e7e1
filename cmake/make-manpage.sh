#!/usr/bin/env bash
# Writes the manual page zentavo(1) from the built tool's own help, so that the page says
# what the tool says: make-manpage.sh TOOL VERSION DATE OUTPUT (zentavo.1)
# The commands come from "zentavo help"; each command's section from "zentavo help COMMAND"
# (usage line, description, options). A help text of another shape goes in as written.
set -euo pipefail
tool=$1
version=$2
date=$3
output=$4

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# The help is read in English, and the tool touches no settings or catalog of the user's.
export LC_ALL=C.UTF-8 LANG=C.UTF-8 LANGUAGE=
export HOME=$scratch XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data XDG_CACHE_HOME=$scratch/cache
export QT_QPA_PLATFORM=offscreen
# In a build with AddressSanitizer the tool's singletons, never destroyed by design, would
# count as leaks and fail the build; printing help has nothing else to leak.
export ASAN_OPTIONS=detect_leaks=0

"$tool" help >"$scratch/overview"
mapfile -t commands < <(awk '$1 == "zentavo" && $2 !~ /^(COMMAND|help)$/ { print $2 }' "$scratch/overview" | awk '!seen[$0]++')
if [ ${#commands[@]} -eq 0 ]; then
    echo "make-manpage: \"$tool help\" lists no command" >&2
    exit 1
fi
for command in "${commands[@]}"; do
    "$tool" help "$command" >"$scratch/command-$command"
done

exec >"$scratch/page"

# Roff escapes for text from the help: backslashes, minus signs, and lines that would
# read as requests.
roff_escape='
function roff(text) {
    gsub(/\\/, "\\e", text)
    gsub(/-/, "\\-", text)
    if (text ~ /^[.'"'"']/)
        text = "\\&" text
    return text
}'

cat <<EOF
.TH ZENTAVO 1 "$date" "zentavo $version" "User Commands"
.SH NAME
zentavo \\- render vehicle valuation reports and keep their evaluations and catalogs
.SH SYNOPSIS
EOF
awk "$roff_escape"'
# One line per command, its words in bold: "zentavo photo add", then what follows them.
$1 == "zentavo" && $2 != "COMMAND" {
    words = ($3 ~ /^[a-z]+$/) ? 3 : 2
    command = $1; for (i = 2; i <= words; i++) command = command " " $i
    rest = ""; for (i = words + 1; i <= NF; i++) rest = rest (rest == "" ? "" : " ") $i
    print "\\fB" roff(command) "\\fR " roff(rest)
    print ".br"
}
' "$scratch/overview"
cat <<'EOF'
.SH DESCRIPTION
.B zentavo
is the command-line host of the Zentavo core library, for template authors, appraisers'
offices and host developers. An evaluation (agreement, customer, owner, vehicle,
equipment, appraisers, photos, market analysis, reconciliation) is one zip file of named
text values, the tags. The tool creates and edits evaluations, shows their tags as
report templates resolve them, checks templates, renders DOCX, ODT and text templates
into finished documents, and refreshes the local catalog database from the network.
.PP
Every failure is one line on standard error and a non\-zero exit status. Each command
describes itself with
.B \-\-help
or
.BR "zentavo help " COMMAND .
.SH COMMANDS
EOF
for command in "${commands[@]}"; do
    awk -v name="$command" "$roff_escape"'
    function end_paragraph() {
        if (paragraph != "") { paragraphs[++paragraph_count] = paragraph; paragraph = "" }
    }
    NR == 1 && /^usage: / { sub(/^usage: +/, ""); usage = $0; next }
    NR == 1 { verbatim = 1 }
    verbatim { lines[++line_count] = $0; next }
    /^[^ \t].*:$/ && !in_options { end_paragraph(); in_options = 1; options_heading = $0; next }
    in_options && /^  +[^ ]/ {
        line = $0; sub(/^ +/, "", line)
        if (match(line, /  +/)) { options[++option_count] = substr(line, 1, RSTART - 1); option_text[option_count] = substr(line, RSTART + RLENGTH) }
        else { options[++option_count] = line; option_text[option_count] = "" }
        next
    }
    /^[ \t]*$/ { end_paragraph(); next }
    { paragraph = paragraph (paragraph == "" ? "" : " ") $0 }
    END {
        end_paragraph()
        heading = "zentavo " name
        if (split(usage, words, " ") > 2 && words[1] == "zentavo" && words[3] ~ /^[a-z]+$/)
            heading = heading " " words[3]
        print ".SS \"" roff(heading) "\""
        if (verbatim) {
            print ".nf"
            for (i = 1; i <= line_count; i++) print roff(lines[i])
            print ".fi"
            exit
        }
        print ".PP"
        print "\\fB" roff(usage) "\\fR"
        for (i = 1; i <= paragraph_count; i++) { print ".PP"; print roff(paragraphs[i]) }
        if (option_count) {
            print ".PP"
            print roff(options_heading)
            for (i = 1; i <= option_count; i++) {
                print ".TP"
                print "\\fB" roff(options[i]) "\\fR"
                print roff(option_text[i])
            }
        }
    }' "$scratch/command-$command"
done
cat <<'EOF'
.SH EXIT STATUS
.TP
.B 0
done
.TP
.B 1
something failed; each failure is said in its own line
.TP
.B 2
a usage error: an unknown option, a missing argument
.TP
.B 3
an internal error (a fault of the tool: please report it)
.TP
.B 130
interrupted by Ctrl\-C (SIGINT), after saying what was done
.TP
.B 143
ended by SIGTERM, after saying what was done
.SH FILES
.TP
.I $XDG_DATA_HOME/zentavo/Zentavo.db
(by default
.IR ~/.local/share/zentavo/Zentavo.db )
the catalog database (vehicle, identity document and bank catalogs, appraisal companies
and appraisers); before a schema change replaces it, the old file is kept beside it as
.IR Zentavo.db.bak\-yyyyMMdd\-hhmmss .
.TP
.I EVALUATION.lock
beside an evaluation while a command changes it; a second writer waits up to 10 seconds.
.SH ENVIRONMENT
.TP
.B QT_QPA_PLATFORM
the tool uses the offscreen platform when no display is present, so it runs on servers.
.SH SEE ALSO
The API reference of the Zentavo core library (libzentavo\-dev).
EOF
mv "$scratch/page" "$output"
