#!/usr/bin/env bash
# Every text the program shows comes from the string table or through SystemText: a
# string literal with a byte above 0x7F in the sources would be Windows-1252 bytes on
# the screen whatever the system's code page, so "ß" would be another letter on a
# system with another one. Prints each such literal with its place and exits 1 if there
# is any. Not counted: comments, trace lines (the debugger channel, for the developer),
# the report tool, which converts its Windows-1252 texts to UTF-8 itself, and the tables
# of failure texts, which go through SystemText row by row.
#
# usage: check_source_texts.sh SOURCE_DIR...
set -uo pipefail
[ $# -gt 0 ] || { echo "usage: check_source_texts.sh SOURCE_DIR..." >&2; exit 2; }

found=$(find "$@" \( -name '*.cpp' -o -name '*.h' \) -not -path '*/report/*' \
    -not -name 'failure_texts*.cpp' -print0 |
    xargs -0 perl -ne '
        s{//.*$}{};                      # the rest of the line is a comment
        next if /\bTrace\s*\(/;          # a trace line
        while (/"((?:[^"\\]|\\.)*)"/g) {
            my ($literal, $before) = ($1, substr($_, 0, $-[0]));
            next unless $literal =~ /[\x80-\xFF]/;
            next if $before =~ /\bSystemText\s*\(\s*$/;
            print "$ARGV:$.: \"$literal\"\n";
        }
    } continue { close ARGV if eof;')
if [ -n "$found" ]; then
    echo "texts with bytes above 0x7F outside the string table:"
    echo "$found"
    exit 1
fi
echo "no shown text with bytes above 0x7F outside the string table"
