#!/usr/bin/env python3
"""The CSV report read back by Python's csv module: on a generated mailbox with names
holding commas, quotes, semicolons and bytes 0x80..0xFF, every row of the CSV report
must be the row of the JSON report of the same scan, field by field (a text that starts
like a formula with an apostrophe in front), and with --compare the change columns must
match too. Usage: check_csv.py REPORT MAILGEN"""
import csv
import io
import json
import subprocess
import sys
import tempfile

report, mailgen = sys.argv[1], sys.argv[2]
failures = []


def text(value):
    """A text cell as the CSV holds it: with an apostrophe when a spreadsheet would take
    it for a formula; the JSON holds the text itself."""
    return "'" + value if value[:1] in ("=", "+", "-", "@", "\t", "\r") else value


with tempfile.TemporaryDirectory() as tmp:
    subprocess.run([mailgen, "--mailbox", f"{tmp}/mb", "--newmail", f"{tmp}/nm", "--seed", "5",
                    "--folders", "80", "--broken", "6", "--huge", "1", "--awkward-names",
                    "--quiet"], check=True)
    base = [report, "--mailbox", f"{tmp}/mb", "--newmail", f"{tmp}/nm", "--sort", "name"]

    def run(*extra):
        out = subprocess.run(base + list(extra), check=True, capture_output=True).stdout
        return out

    earlier = run("--format", "json")
    with open(f"{tmp}/earlier.json", "wb") as f:
        f.write(earlier)
    for extra, compared in (((), False), (("--exact",), False),
                            (("--compare", f"{tmp}/earlier.json"), True)):
        raw = run("--format", "csv", *extra)
        if b"\n" in raw.replace(b"\r\n", b"") and b'"' not in raw:
            failures.append(f"{extra}: a bare line feed outside quotes")
        rows = list(csv.reader(io.StringIO(raw.decode("utf-8"), newline="")))
        doc = json.loads(run("--format", "json", *extra).decode("utf-8"))
        header = ["Dateiname", "Größe", "Ordnername", "Bytes"]
        if compared:
            header += ["Änderung", "Änderung in Bytes"]
        header += ["Grenze", "Geändert"]
        if rows[0] != header:
            failures.append(f"{extra}: header {rows[0]}")
        if len(rows) - 1 != len(doc["rows"]):
            failures.append(f"{extra}: {len(rows) - 1} CSV rows, {len(doc['rows'])} JSON rows")
        for got, want in zip(rows[1:], doc["rows"]):
            expected = [text(want["fileName"]), got[1],
                        text(want["folderPath"] + want["folderName"]), str(want["size"])]
            if compared:
                expected += [text(want["changeText"]), str(want["change"])]
            expected += [want["limit"] or "", want["lastChange"] or ""]
            if got != expected:
                failures.append(f"{extra}: {got!r} != {expected!r}")
            if not got[1]:
                failures.append(f"{extra}: no size text in {got!r}")
        if not any('"' in r[2] or "," in r[2] for r in rows[1:]):
            failures.append(f"{extra}: no folder name needed quoting: the test lost its point")

for f in failures[:20]:
    print("FAIL:", f)
sys.exit(1 if failures else 0)
