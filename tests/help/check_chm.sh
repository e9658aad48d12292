#!/usr/bin/env bash
# Checks the compiled help file foldtally.chm the way the program and its users rely on it:
# every topic the program opens exists with its anchor, the default topic and the German
# title and language are set, every page listed in the project made it into the file and
# into the table of contents, the pages are in the code page they declare, and every
# link between pages, from the contents and from the index leads to a page and anchor
# that exist; and every numbered message and every failure text of the name column that
# the program's sources hold is quoted word for word somewhere in the help. Prints every
# problem found and exits 1 if there was any.
#
# usage: check_chm.sh CHM HELP_SOURCE_DIR CHMLS PROGRAM_SOURCE_DIR...
set -uo pipefail

chm=${1:?usage: check_chm.sh CHM HELP_SOURCE_DIR CHMLS PROGRAM_SOURCE_DIR...}
help_src=${2:?help source folder missing}
chmls=${3:?chmls missing}
shift 3
prog_dirs=()
for d in "$@"; do [ -d "$d" ] && prog_dirs+=("$d"); done

# Topics the program opens by name: the three windows' help and the numbered messages.
required_topics=(
    /pages/ref_dlg_main.htm
    /pages/ref_dlg_einst.htm
    /pages/ref_dlg_baum.htm
    /pages/ordnerkarte.htm
    /pages/ref_mld_fehlerm.htm#e000
    /pages/ref_mld_fehlerm.htm#e002
    /pages/ref_mld_fehlerm.htm#e003
    /pages/ref_mld_fehlerm.htm#e004
    /pages/ref_mld_fehlerm.htm#e005
    /pages/ref_mld_fehlerm.htm#e007
    /pages/ref_mld_fehlerm.htm#e008
    /pages/ref_mld_fehlerm.htm#e009
    /pages/ref_mld_warnungen.htm#w501
    /pages/ref_mld_warnungen.htm#w502
    /pages/ref_mld_warnungen.htm#w503
    /pages/ref_mld_warnungen.htm#w505
)
# The help's language (HELP_LANGUAGE, de or en): title (Windows-1252 bytes), language id,
# words of the numbered messages, and the files of its failure texts (English: *_en.*;
# the report's table of both languages has its texts in the windows' files too).
expected_title='Ordner-Statistik f\xfcr Pegasus-Mail' expected_lcid=1031 words='FEHLER|WARNUNG' own=(--exclude='*_en.*' --exclude='report_texts.h')
[ "${HELP_LANGUAGE:-de}" = en ] && expected_title='Folder Statistics for Pegasus Mail' expected_lcid=1033 words='ERROR|WARNING' own=(--exclude='*' --include='*_en.*')

problems=0
fail() {
    echo "PROBLEM: $*"
    problems=$((problems + 1))
}

[ -f "$chm" ] || { echo "no help file at $chm"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

listing=$("$chmls" -n list "$chm" 2>/dev/null | grep '^/')
[ -n "$listing" ] || { echo "chmls lists nothing in $chm"; exit 1; }
declare -A files=() anchors=()
while IFS= read -r f; do files[$f]=1; done <<<"$listing"
in_chm() { [ -n "${files[$1]+x}" ]; }

# The whole file is extracted once: a process a page made the check slow, and its
# planted-fault test runs it twenty times.
"$chmls" extractall "$chm" "$work/files" >/dev/null 2>&1
# One file of the .chm (path with leading slash); sets $extracted_file.
extracted_file=
extract() {
    extracted_file="$work/files$1"
    [ -f "$extracted_file" ]
}

# Reads the anchors a page defines (name="..." or id="...") into $anchors once.
declare -A anchors_read=()
read_anchors() {
    [ -n "${anchors_read[$1]+x}" ] && return
    anchors_read[$1]=1
    extract "$1" || return
    local a
    while IFS= read -r a; do anchors[$1#$a]=1; done < <(grep -oE '(name|id)="[^"]*"' "$extracted_file" |
        sed -E 's/^(name|id)="//; s/"$//')
}

# "/dir/page.htm#anchor" -> checks the page and, if given, the anchor.
check_target() { # target where-from
    local page=${1%%#*}
    if ! in_chm "$page"; then
        fail "$2: page $page is not in the .chm"
    elif [[ $1 == *#* ]]; then
        read_anchors "$page"
        [ -n "${anchors[$1]+x}" ] || fail "$2: anchor #${1#*#} is missing from $page"
    fi
}

# Resolves a link relative to the folder of the page it stands on; sets $resolved to
# /path#anchor.
resolved=
resolve() { # page-path link
    local link=$2 base parts=() out=() p
    if [[ $link == \#* ]]; then
        resolved=$1$link
        return
    fi
    if [[ $link == /* ]]; then base=""; else base=${1%/*}; fi
    IFS=/ read -r -a parts <<<"${base#/}/$link"
    for p in "${parts[@]}"; do
        case $p in
        '' | .) ;;
        ..) [ ${#out[@]} -gt 0 ] && unset 'out[${#out[@]}-1]' ;;
        *) out+=("$p") ;;
        esac
    done
    local IFS=/
    resolved="/${out[*]}"
}

# --- 1. #SYSTEM: default topic, title and language ---------------------------------------
system=
extract /#SYSTEM && system=$extracted_file || fail "/#SYSTEM is missing"
default_topic= title_hex= lcid=
if [ -n "$system" ]; then
    read -r -a b <<<"$(od -An -v -tu1 "$system" | tr -s ' \n' ' ')"
    i=4 # after the version word
    while [ $((i + 4)) -le ${#b[@]} ]; do
        code=$((b[i] + 256 * b[i + 1]))
        len=$((b[i + 2] + 256 * b[i + 3]))
        data=("${b[@]:i+4:len}")
        case $code in
        2 | 3)
            text=""
            for v in "${data[@]}"; do
                [ "$v" -eq 0 ] && break
                text+=$(printf '%02x' "$v")
            done
            if [ $code -eq 2 ]; then
                default_topic=$(printf '%b' "$(sed 's/../\\x&/g' <<<"$text")")
            else
                title_hex=$text
            fi
            ;;
        4) [ ${#data[@]} -ge 2 ] && lcid=$((data[0] + 256 * data[1])) ;;
        esac
        i=$((i + 4 + len))
    done
fi
if [ -z "$default_topic" ]; then
    fail "no default topic is set"
else
    check_target "/${default_topic#/}" "default topic"
fi
want_hex=$(printf "$expected_title" | od -An -v -tx1 | tr -d ' \n')
[ "$title_hex" = "$want_hex" ] || fail "title is not the Windows-1252 bytes of the application title (hex ${title_hex:-none})"
[ "$lcid" = "$expected_lcid" ] || fail "language is ${lcid:-none}, expected $expected_lcid"

# --- 2. the topics the program opens -----------------------------------------------------
for topic in "${required_topics[@]}"; do
    check_target "$topic" "program topic"
done
# Any topic string written into the program's sources must resolve too.
if [ ${#prog_dirs[@]} -gt 0 ]; then
    while IFS= read -r topic; do
        check_target "${topic#::}" "topic in the program sources"
    done < <(grep -rhoE '::/[A-Za-z0-9_/-]+\.htm(#[A-Za-z0-9_-]+)?' "${prog_dirs[@]}" | sort -u)
fi

# --- 3. project, contents and files agree ------------------------------------------------
hhp="$help_src/foldtally.hhp"
mapfile -t listed < <(sed -n '/^\[FILES\]/,/^\[/{/^\[/d;/^[[:space:]]*$/d;p}' "$hhp" | tr -d '\r')
[ ${#listed[@]} -gt 0 ] || fail "$hhp has no [FILES] section"
for f in "${listed[@]}"; do
    in_chm "/$f" || fail "[FILES] lists $f but the .chm does not hold it"
done
declare -A in_project=()
for f in "${listed[@]}"; do in_project[$f]=1; done
while IFS= read -r f; do
    [ -n "${in_project[$f]+x}" ] || fail "$f is in help/ but not in [FILES] of foldtally.hhp"
done < <(cd "$help_src" && find . -path ./en -prune -o \( -name '*.htm' -o -name '*.css' -o -name '*.png' \) -print | sed 's|^\./||' | sort)

toc= index=
extract /toc.hhc && toc=$extracted_file || fail "the table of contents /toc.hhc is missing"
extract /index.hhk && index=$extracted_file || fail "the index /index.hhk is missing"
pages=$(grep -E '\.htm$' <<<"$listing")
declare -A in_toc=()
while IFS= read -r f; do in_toc[${f,,}]=1; done < <(grep -oiE 'value="[^"]*"' "${toc:-/dev/null}" |
    sed -E 's/^[^"]*"//; s/"$//')
for page in $pages; do
    name_in_toc=${page#/}
    [ -n "${in_toc[${name_in_toc,,}]+x}" ] || fail "$page is not in the table of contents"
done

# --- 4. code page and anchors of every page ----------------------------------------------
# Each rule over every page at once; the pages by their place in the file.
page_files=()
for page in $pages; do
    extract "$page" && page_files+=("$extracted_file") || fail "$page cannot be extracted"
done
page_of() { sed "s|^$work/files||"; }
if [ ${#page_files[@]} -gt 0 ]; then
    while IFS= read -r page; do
        fail "$page does not declare charset=windows-1252"
    done < <(grep -LiE 'charset=windows-1252' "${page_files[@]}" | page_of)
    while IFS= read -r page; do
        fail "$page holds UTF-8 bytes; write umlauts as entities (&auml;)"
    done < <(LC_ALL=C grep -lP '[\xC2-\xF4][\x80-\xBF]' "${page_files[@]}" | page_of)
    while IFS=: read -r page dups; do
        fail "$page defines an anchor twice: $dups"
    done < <(grep -oHE '(name|id)="[^"]*"' "${page_files[@]}" | sed -E 's/:(name|id)=/:/' |
        sort | uniq -d | page_of)
fi
for f in "${toc:-}" "${index:-}"; do
    [ -n "$f" ] && LC_ALL=C grep -qP '[\xC2-\xF4][\x80-\xBF]' "$f" &&
        fail "$(basename "$f") is UTF-8, not Windows-1252"
done

# --- 5. links --------------------------------------------------------------------------
links=0
for page in $pages; do
    extract "$page" || continue
    while IFS= read -r link; do
        [[ $link =~ ^[A-Za-z][A-Za-z0-9+.-]*: ]] && continue # http:, mailto:, ms-its: ...
        [ -z "$link" ] && { fail "$page: empty link"; continue; }
        resolve "$page" "$link"
        check_target "$resolved" "link in $page ($link)"
        links=$((links + 1))
    done < <(grep -oiE '(href|src)="[^"]*"' "$extracted_file" | sed -E 's/^[^"]*"//; s/"$//')
done
for f in "${toc:-}" "${index:-}"; do
    [ -n "$f" ] || continue
    while IFS= read -r local; do
        resolve / "$local"
        check_target "$resolved" "${f##*/} ($local)"
        links=$((links + 1))
    done < <(grep -oiE 'name="Local"[[:space:]]+value="[^"]*"' "$f" | sed -E 's/.*value="//; s/"$//')
done

# --- 6. the program's own texts are quoted word for word --------------------------------
# The numbered messages ("FEHLER 004: ...", from the string table or a literal) and the
# failure texts in angle brackets are what a user looks up; the help must quote them as
# the program shows them. Sources are UTF-8; pages write umlauts and quotes as entities.
all_text=
[ ${#page_files[@]} -gt 0 ] && all_text=$(cat "${page_files[@]}" | tr '\r\n\t' '   ' | tr -s ' ')
to_entities() {
    sed -e 's/&/\&amp;/g; s/</\&lt;/g; s/>/\&gt;/g; s/"/\&quot;/g' \
        -e 's/ä/\&auml;/g; s/ö/\&ouml;/g; s/ü/\&uuml;/g; s/Ä/\&Auml;/g; s/Ö/\&Ouml;/g' \
        -e 's/Ü/\&Uuml;/g; s/ß/\&szlig;/g'
}
texts=0
if [ ${#prog_dirs[@]} -gt 0 ]; then
    texts_in() { grep -rhoE --include='*.rc' --include='*.cpp' --include='*.h' "$@" "${prog_dirs[@]}"; }
    mapfile -t program_texts < <({ texts_in -e "\"($words) [0-9]{3}: ([^\"\\\\]|\"\"|\\\\\")*\""
        texts_in "${own[@]}" -e '"<[^"\\?]{4,}>"'; } | sed -E 's/^"//; s/"$//; s/""/"/g; s/\\"/"/g' | sort -u)
    mapfile -t quoted_texts < <(printf '%s\n' "${program_texts[@]}" | to_entities)
    for i in "${!program_texts[@]}"; do
        [[ $all_text == *"${quoted_texts[i]}"* ]] ||
            fail "the program's text '${program_texts[i]}' is not quoted in the help"
        texts=$((texts + 1))
    done
fi

echo "checked: $(wc -w <<<"$pages") pages, ${#required_topics[@]} program topics, $links links, $texts program texts"
if [ $problems -ne 0 ]; then
    echo "$problems problem(s) in $chm"
    exit 1
fi
echo "help file OK"
