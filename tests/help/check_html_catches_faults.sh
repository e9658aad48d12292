#!/usr/bin/env bash
# Proves that check_html.sh fails for real: the unchanged HTML form passes, and each
# planted fault (a page lost, a page changed, a jump page lost or leading elsewhere, a
# stray file, a program topic whose anchor no page has) fails with its own message.
#
# usage: check_html_catches_faults.sh HTML_DIR HELP_SOURCE_DIR PROGRAM_SOURCE_DIR...
set -uo pipefail
html=${1:?usage: check_html_catches_faults.sh HTML_DIR HELP_SOURCE_DIR PROGRAM_SOURCE_DIR...}
help_src=${2:?help source folder missing}
shift 2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

bash "$here/check_html.sh" "$html" "$help_src" "$@" >"$work/good.log" ||
    { cat "$work/good.log"; echo "FAIL: the unchanged help pages fail" >&2; exit 1; }

status=0
plant() { # name, command run in a copy of the pages, message; further args: sources
    local name=$1 command=$2 message=$3 out
    shift 3
    rm -rf "$work/x" && cp -R "$html" "$work/x"
    (cd "$work/x" && eval "$command")
    if out=$(bash "$here/check_html.sh" "$work/x" "$help_src" "$@" 2>&1); then
        echo "FAIL: $name: the check passed" >&2
        status=1
    elif ! grep -qF -- "$message" <<<"$out"; then
        echo "FAIL: $name: the check failed without '$message': $out" >&2
        status=1
    fi
}
plant lost-page "rm pages/tasten.htm" "pages/tasten.htm of the help sources is missing" "$@"
plant changed-page "echo x >>pages/zweck.htm" "pages/zweck.htm differs" "$@"
plant lost-jump "rm pages/ref_mld_fehlerm.e002.htm" "jump page pages/ref_mld_fehlerm.e002.htm" "$@"
plant wrong-jump "sed -i 's/#e003/#e004/' pages/ref_mld_fehlerm.e003.htm" \
    "pages/ref_mld_fehlerm.e003.htm does not lead to ref_mld_fehlerm.htm#e003" "$@"
plant stray "echo x >pages/alt.htm" "pages/alt.htm is neither" "$@"
mkdir -p "$work/src"
echo 'const char k[] = "::/pages/ref_dlg_main.htm#gibtsnicht";' >"$work/src/topic.cpp"
plant unknown-anchor ":" "pages/ref_dlg_main.htm has no anchor gibtsnicht" "$work/src"
[ $status -eq 0 ] && echo "the help pages check catches every planted fault"
exit $status
