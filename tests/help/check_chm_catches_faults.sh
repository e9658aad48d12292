#!/usr/bin/env bash
# Proves that check_chm.sh fails for real: compiles the help from a copy of its sources,
# once unchanged (must pass) and once per planted fault (must fail and name the fault).
# Each case breaks one promise the help file makes to the program or to its reader.
#
# usage: check_chm_catches_faults.sh HELP_SOURCE_DIR CHMCMD CHMLS PROGRAM_SOURCE_DIR...
set -uo pipefail

help_src=${1:?usage: check_chm_catches_faults.sh HELP_SOURCE_DIR CHMCMD CHMLS PROGRAM_SOURCE_DIR...}
chmcmd=${2:?chmcmd missing}
chmls=${3:?chmls missing}
shift 3
prog_dirs=("$@")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# file to change | sed expression | text the checker must print
# ("@program" plants the expression as a string in the program's sources instead)
cases=(
    "pages/ref_mld_fehlerm.htm|s/name=\"e003\"/name=\"e03\"/|anchor #e003 is missing from /pages/ref_mld_fehlerm.htm"
    "pages/ref_mld_warnungen.htm|s/name=\"w502\"//|anchor #w502 is missing from /pages/ref_mld_warnungen.htm"
    "foldtally.hhp|/^pages\/ref_dlg_einst.htm$/d|page /pages/ref_dlg_einst.htm is not in the .chm"
    "foldtally.hhp|s/^Default topic=.*/Default topic=pages\/fehlt.htm/|default topic: page /pages/fehlt.htm is not in the .chm"
    "foldtally.hhp|s/^Title=.*/Title=Ordner-Statistik/|title is not the Windows-1252 bytes"
    "foldtally.hhp|s/^Language=.*/Language=0x409 English (United States)/|language is 1033"
    "pages/ref_dlg_main.htm|s/groessen.htm#status/groessen.htm#stat/|link in /pages/ref_dlg_main.htm (groessen.htm#stat)"
    "pages/zweck.htm|s/href=\"verzeichnisse.htm\"/href=\"verzeichnis.htm\"/|page /pages/verzeichnis.htm is not in the .chm"
    "start.htm|s/href=\"pages\/wine.htm\"/href=\"wine.htm\"/|page /wine.htm is not in the .chm"
    "pages/tasten.htm|s/&uuml;/\xc3\xbc/|tasten.htm holds UTF-8 bytes"
    "pages/tasten.htm|s/charset=windows-1252/charset=utf-8/|tasten.htm does not declare charset=windows-1252"
    "pages/groessen.htm|s/name=\"status\"/name=\"status\"><\/a><a name=\"status\"/|defines an anchor twice"
    "toc.hhc|/pages\/wine.htm/d|/pages/wine.htm is not in the table of contents"
    "index.hhk|s/ref_mld_fehlerm.htm#e004/ref_mld_fehlerm.htm#e04/|anchor #e04 is missing"
    "@program|::/pages/ref_mld_warnungen.htm#w599|topic in the program sources: anchor #w599 is missing"
    "@program|WARNUNG 599: Ein neuer Text.|'WARNUNG 599: Ein neuer Text.' is not quoted"
    "@program|<Datei ist zu groß.>|'<Datei ist zu groß.>' is not quoted"
    "pages/ref_mld_fehlerm.htm|s/FEHLER 004: Der Wert f&uuml;r/FEHLER 004: Der Wert fuer/|'FEHLER 004: Der Wert für die Aktualisierungs-Rate muss größer als 0 sein.' is not quoted"
    "pages/ref_fehlertexte.htm|s/Ordner hat keine g&uuml;ltige PMG-Datei./Ordner hat keine PMG-Datei./|'<Ordner hat keine gültige PMG-Datei.>' is not quoted"
)

build() { # source-dir -> prints the .chm path, or nothing when chmcmd refused
    local src=$1 out=$1.chm
    cmake -DSOURCE_DIR="$src" -DSTAGE_DIR="$src.stage" -DOUTPUT="$out" \
        -DCHMCMD="$chmcmd" -DICONV="$(command -v iconv)" \
        -P "$help_src/build_chm.cmake" >"$src.build.log" 2>&1 && echo "$out"
}

mkdir -p "$work/base"
cp -r "$help_src/." "$work/base/"
chm=$(build "$work/base")
if [ -z "$chm" ] || ! "$here/check_chm.sh" "$chm" "$work/base" "$chmls" "${prog_dirs[@]}" >"$work/base.out"; then
    echo "FAIL: the unchanged help does not pass"
    cat "$work/base.build.log" "$work/base.out" 2>/dev/null
    exit 1
fi

# One case: prints "ok ..." or "FAIL ..." lines; the cases run side by side, since each
# works in its own copy and chmcmd spends its time on one processor.
run_case() { # number, case
    local n=$1 c=$2 file expr expect dir chm
    IFS='|' read -r file expr expect <<<"$c"
    dir="$work/case$n"
    cp -r "$work/base" "$dir"
    rm -f "$dir.chm"
    local program=("${prog_dirs[@]}")
    if [ "$file" = "@program" ]; then
        # The help itself is unchanged: a copy of the base build serves (chmls does not
        # always read a file that another chmls reads at the same time).
        program+=("$dir.program")
        mkdir -p "$dir.program"
        printf 'const char* planted = "%s";\n' "$expr" >"$dir.program/planted.cpp"
        chm=$dir.chm
        cp "$work/base.chm" "$chm"
    else
        local before
        before=$(md5sum <"$dir/$file")
        sed -i -e "$(printf '%b' "$expr")" "$dir/$file"
        if [ "$before" = "$(md5sum <"$dir/$file")" ]; then
            echo "FAIL case $n: the fault '$expr' did not change $file"
            return
        fi
        chm=$(build "$dir")
        if [ -z "$chm" ]; then
            echo "FAIL case $n: chmcmd refused the sources ($file: $expr)"
            cat "$dir.build.log"
            return
        fi
    fi
    if "$here/check_chm.sh" "$chm" "$dir" "$chmls" "${program[@]}" >"$dir.out" 2>&1; then
        echo "FAIL case $n: the checker passed a help file with fault '$expr' in $file"
    elif ! grep -qF -- "$expect" "$dir.out"; then
        echo "FAIL case $n: the checker failed, but without naming '$expect':"
        cat "$dir.out"
    else
        echo "ok   case $n: $file: $expect"
    fi
}

jobs_max=$(nproc 2>/dev/null || echo 2)
n=0
for c in "${cases[@]}"; do
    n=$((n + 1))
    while [ "$(jobs -rp | wc -l)" -ge "$jobs_max" ]; do
        wait -n
    done
    run_case "$n" "$c" >"$work/case$n.result" &
done
wait
failures=0
for i in $(seq 1 "$n"); do
    cat "$work/case$i.result"
    grep -q '^FAIL' "$work/case$i.result" && failures=$((failures + 1))
done
[ $failures -eq 0 ] || { echo "$failures of $n planted faults went unnoticed"; exit 1; }
echo "all $n planted faults were caught"
