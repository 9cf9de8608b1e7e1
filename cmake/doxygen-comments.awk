# Doxygen input filter: lets Doxygen read the comments of this code base as they are
# written. A block of "//" lines directly above a declaration is that declaration's
# documentation (its first sentence the brief); a block followed by a blank line, a
# preprocessor line, an access label or the end of a scope stays an ordinary comment. A
# comment after a member or an enumerator on its line ("int index; // from 0") documents
# that member.
# Inside documentation, characters Doxygen would take for commands, links or HTML (a
# backslash, "@", "#" as in <#NAME#>, "<" before a letter as in <agreement number>) are
# meant literally.
# Lines are neither added nor removed, so Doxygen's line numbers stay true.

function is_comment(line) {
    return line ~ /^[ \t]*\/\/([^\/]|$)/
}

function documents(line) {
    if (line ~ /^[ \t]*#[ \t]*define[ \t]/)
        return 1
    return line !~ /^[ \t]*($|#|}|(public|protected|private|signals|Q_SIGNALS)[ \t]*:|(public|protected|private)[ \t]+(slots|Q_SLOTS)[ \t]*:)/
}

# Doxygen takes text in double quotes as written; outside them, a backslash, "@", "#",
# "&" and "<" before a letter get a backslash, so that they too are meant literally.
# quoted carries the state from one line of a block to the next.
function literal(text,    out, i, c, next_char) {
    out = ""
    for (i = 1; i <= length(text); i++) {
        c = substr(text, i, 1)
        next_char = substr(text, i + 1, 1)
        if (c == "\"")
            quoted = !quoted
        else if (!quoted && (c == "\\" || c == "@" || c == "#" || c == "&" || (c == "<" && next_char ~ /[A-Za-z\/]/)))
            out = out "\\"
        out = out c
    }
    return out
}

# "x; // text" and "X = 1, // text" become "x; ///< text": a comment after the end of a
# declaration, where no string is open.
function trailing_documented(line,    at, code, quotes) {
    if (line ~ /^[ \t]*#/ || !match(line, /[;,][ \t]*\/\/[^\/]/))
        return line
    at = RSTART + RLENGTH - 1
    code = substr(line, 1, at - 1)
    quotes = gsub(/"/, "\"", code)
    if (quotes % 2)
        return line
    sub(/\/\/$/, "///<", code)
    quoted = 0
    return code literal(substr(line, at))
}

function flush(as_documentation,    i, line, indent) {
    quoted = 0
    for (i = 1; i <= held; i++) {
        line = block[i]
        if (as_documentation) {
            match(line, /^[ \t]*\/\//)
            indent = substr(line, 1, RLENGTH - 2)
            line = indent "///" literal(substr(line, RLENGTH + 1))
        }
        print line
    }
    held = 0
}

is_comment($0) {
    block[++held] = $0
    next
}

{
    if (held)
        flush(documents($0))
    print trailing_documented($0)
}

END {
    flush(0)
}
