#!/usr/bin/env bash
# Checks the help's HTML form (foldtally-hilfe beside the program, which the program
# hands to the host's browser under Wine) the way the program relies on it: every page
# and style sheet of the help sources is there unchanged and nothing else but jump
# pages; the start page exists; every anchor of every page has its jump page
# "<page>.<anchor>.htm" beside it, which leads to that page and anchor; and every topic
# the program's sources name ("::/page#anchor") has the file the program opens for it.
# Prints every problem found and exits 1 if there was any.
#
# usage: check_html.sh HTML_DIR HELP_SOURCE_DIR PROGRAM_SOURCE_DIR...
set -uo pipefail
html=${1:?usage: check_html.sh HTML_DIR HELP_SOURCE_DIR PROGRAM_SOURCE_DIR...}
help_src=${2:?help source folder missing}
shared=${HELP_SHARED_DIR:-$help_src} # the folder whose style sheets and pictures the pages share
shift 2

problems=0
fail() {
    echo "PROBLEM: $*"
    problems=$((problems + 1))
}
[ -d "$html" ] || { echo "no help pages at $html"; exit 1; }

anchors_of() { grep -oE '(name|id)="[^"]*"' "$1" | sed -E 's/^(name|id)="//; s/"$//'; }

# 1. the sources' pages, unchanged, and their jump pages
declare -A expected=()
pages=0 jumps=0
while IFS= read -r f; do
    expected[$f]=1 source=$help_src/$f
    [ -f "$source" ] || source=$shared/$f
    if [ ! -f "$html/$f" ]; then
        fail "$f of the help sources is missing"
    elif ! cmp -s "$source" "$html/$f"; then
        fail "$f differs from the help sources"
    fi
    [[ $f == *.htm ]] || continue
    pages=$((pages + 1))
    dir=$(dirname "$f") name=$(basename "$f") base=${f%.htm}
    while IFS= read -r a; do
        [ -n "$a" ] || continue
        jump="$base.$a.htm"
        expected[$jump]=1
        jumps=$((jumps + 1))
        if [ ! -f "$html/$jump" ]; then
            fail "the jump page $jump to $f#$a is missing"
        elif ! grep -qiF "http-equiv=\"refresh\" content=\"0; url=$name#$a\"" "$html/$jump"; then
            fail "$jump does not lead to $name#$a"
        fi
    done < <(anchors_of "$source")
done < <({ cd "$help_src" && find . -path ./en -prune -o \( -name '*.htm' -o -name '*.css' -o -name '*.png' \) -print
    cd "$shared" && find . -path ./en -prune -o \( -name '*.css' -o -name '*.png' \) -print; } | sed 's|^\./||' | sort -u)
while IFS= read -r f; do
    [ -n "${expected[$f]+x}" ] || fail "$f is neither a help page nor the jump page to an anchor"
done < <(cd "$html" && find . -type f | sed 's|^\./||' | sort)
[ -f "$html/start.htm" ] || fail "the start page start.htm is missing"

# 2. the topics the program opens, mapped as the program maps them
topics=0
if [ $# -gt 0 ]; then
    while IFS= read -r topic; do
        topics=$((topics + 1))
        path=${topic#::/} page=${path%%#*} file=$page
        if [[ $path == *#* ]]; then
            anchor=${path#*#}
            file=${page%.htm}.$anchor.htm
            if [ -f "$html/$page" ] && ! grep -qxF -- "$anchor" <<<"$(anchors_of "$html/$page")"; then
                fail "topic $topic: $page has no anchor $anchor"
            fi
        fi
        [ -f "$html/$file" ] || fail "topic $topic: the program opens $file, which is missing"
    done < <(grep -rhoE '::/[A-Za-z0-9_/-]+\.htm(#[A-Za-z0-9_-]+)?' "$@" | sort -u)
fi

echo "checked: $pages pages, $jumps jump pages, $topics program topics"
if [ $problems -ne 0 ]; then
    echo "$problems problem(s) in $html"
    exit 1
fi
echo "help pages OK"
