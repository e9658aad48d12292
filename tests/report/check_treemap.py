#!/usr/bin/env python3
"""foldtally-report --treemap on a generated mailbox with awkward names: the SVG parses
as XML, holds a titled rectangle per folder file big enough to see, each title the path
and size of a folder the tree report lists too; bad values and a file in the mailbox
are refused with exit status 2 and no file. Usage: check_treemap.py REPORT MAILGEN"""
import os
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

report, mailgen = sys.argv[1], sys.argv[2]
NS = "{http://www.w3.org/2000/svg}"
failures = []
with tempfile.TemporaryDirectory() as tmp:
    subprocess.run([mailgen, "--mailbox", f"{tmp}/mb", "--newmail", f"{tmp}/nm", "--seed", "3",
                    "--folders", "300", "--awkward-names", "--quiet"], check=True)
    box = ["--mailbox", f"{tmp}/mb", "--newmail", f"{tmp}/nm"]
    done = subprocess.run([report, *box, "--treemap", f"{tmp}/t.svg", "--size", "900x700",
                           "--colour", "age"], capture_output=True)
    root = ET.parse(f"{tmp}/t.svg").getroot()
    tsv = subprocess.run([report, *box, "--tree", "--tsv"], capture_output=True, check=True)
    paths = {line.split("\t")[1] for line in tsv.stdout.decode().splitlines()[1:]}
    titles = [r.find(NS + "title").text for r in root.iter(NS + "rect") if r.find(NS + "title")
              is not None]
    if done.returncode != 0 or done.stdout or (root.get("width"), root.get("height")) != ("900", "700"):
        failures.append(f"the picture was not written as asked: {done.returncode} {done.stderr}")
    if len(titles) < 300 or any(t[: t.rindex(" (")] not in paths for t in titles):
        failures.append(f"{len(titles)} titles, not the tree's paths: {titles[:3]}")
    for bad, words in [(["--size", "0x5"], b"Bildgr"), (["--colour", "rot"], b"unbekannt"),
                       (["--sort", "size"], b"gilt nicht"), ([], b"schreibt das Programm nicht")]:
        target = f"{tmp}/mb/x.svg" if not bad else f"{tmp}/y.svg"
        done = subprocess.run([report, *box, "--treemap", target, *bad], capture_output=True)
        if done.returncode != 2 or words not in done.stderr or os.path.exists(target):
            failures.append(f"{bad} not refused: {done.returncode} {done.stderr}")
for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
