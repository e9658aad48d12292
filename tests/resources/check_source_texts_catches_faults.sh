#!/usr/bin/env bash
# Proves that check_source_texts.sh fails for real: the sources pass, and a copy with
# the message box's old literal "&Schließen" put back fails and names it, while the same
# text in a comment, a trace line or through SystemText passes.
#
# usage: check_source_texts_catches_faults.sh SOURCE_DIR
set -uo pipefail
src=${1:?usage: check_source_texts_catches_faults.sh SOURCE_DIR}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bash "$here/check_source_texts.sh" "$src" >"$work/good.log" ||
    { cat "$work/good.log"; echo "FAIL: the sources fail the check" >&2; exit 1; }

mkdir -p "$work/ok" "$work/bad"
cat >"$work/ok/fine.cpp" <<'CPP'
// "&Schließen" in a comment
Trace("[x] WARNUNG: Kann Datei \"%s\" nicht zum Lesen öffnen\n", name);
name = platform::SystemText("<Datei ist keine gültige PMM-Datei.>");
CPP
bash "$here/check_source_texts.sh" "$work/ok" >/dev/null ||
    { echo "FAIL: comments, trace lines or SystemText were counted" >&2; exit 1; }
cat >"$work/bad/message_dlg.cpp" <<'CPP'
    m_closeButton.Attach(CreateChild("BUTTON", "&Schließen", style, kCloseId, 7, 49, 50, 14));
CPP
if out=$(bash "$here/check_source_texts.sh" "$work/bad"); then
    echo "FAIL: the literal \"&Schließen\" passed the check" >&2
    exit 1
fi
grep -qF 'message_dlg.cpp:1: "&Schließen"' <<<"$out" ||
    { echo "FAIL: the check did not name the literal: $out" >&2; exit 1; }
echo "the source text check catches a shown literal with bytes above 0x7F"
