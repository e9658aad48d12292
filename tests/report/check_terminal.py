#!/usr/bin/env python3
"""foldtally-report on a terminal and into a pipe: a folder file whose name holds ESC,
BEL, DEL and the C1 control U+009D. With standard output on a pseudo terminal no form
(text, tsv, csv, json) may carry a control character but line ends and tabs, and the
name shows its controls as "?"; into a pipe, CSV and JSON carry every byte. The trace
lines on standard error follow the same rule for their own stream.
Nor may excel, nor the messages that quote an option's value or a mailbox's name.
Usage: check_terminal.py REPORT"""
import os
import pty
import subprocess
import sys
import tempfile

report = sys.argv[1]
failures = []
NAME = b"\x1b]0;x\x07\x7f\x9d.PMM"  # the program reads file names as Windows-1252
SHOWN = "?]0;x???.PMM"


def controls(data):
    text = data.decode("utf-8")
    return [hex(ord(c)) for c in text
            if (ord(c) < 0x20 and c not in "\t\r\n") or 0x7F <= ord(c) < 0xA0]


def cp1252_controls(data):
    return [b for b in data if b < 0x20 and b not in b"\t\r\n" or b in b"\x7f\x81\x8d\x8f\x90\x9d"]


def read_all(fd):
    data = b""
    while True:
        try:
            chunk = os.read(fd, 65536)
        except OSError:  # the terminal's other end is gone
            break
        if not chunk:
            break
        data += chunk
    return data


def run(args, tty_stream, status=0):
    """Runs the report with `tty_stream` ("out" or "err") on a pseudo terminal and the
    other into a pipe; returns (terminal bytes, pipe bytes)."""
    master, slave = pty.openpty()
    on_tty = {"stdout": slave, "stderr": subprocess.PIPE} if tty_stream == "out" else \
             {"stdout": subprocess.PIPE, "stderr": slave}
    proc = subprocess.Popen([report] + args, stdin=subprocess.DEVNULL, **on_tty)
    os.close(slave)
    terminal = read_all(master)
    piped = (proc.stderr if tty_stream == "out" else proc.stdout).read()
    proc.wait()
    os.close(master)
    if proc.returncode != status:
        failures.append(f"{args}: exit status {proc.returncode}")
    return terminal, piped


with tempfile.TemporaryDirectory() as tmp:
    mailbox = os.path.join(tmp.encode(), b"mb")
    os.mkdir(mailbox)
    with open(os.path.join(mailbox, NAME), "wb") as f:
        f.write(b"not a folder")
    base = ["--mailbox", mailbox.decode("utf-8", "surrogateescape"), "--no-paths"]
    for form in ("text", "tsv", "csv", "json"):
        terminal, _ = run(base + ["--format", form], "out")
        if controls(terminal):
            failures.append(f"{form} on a terminal: control characters {controls(terminal)}")
        if SHOWN not in terminal.decode("utf-8"):
            failures.append(f"{form} on a terminal: {SHOWN!r} missing in {terminal!r}")
    terminal, _ = run(base + ["--format", "excel"], "out")
    if cp1252_controls(terminal) or SHOWN.encode() not in terminal:
        failures.append(f"excel on a terminal: {terminal!r}")
    for form, exact in (("csv", b"\x1b]0;x\x07\x7f\xc2\x9d.PMM"),
                        ("json", b"\\u001b]0;x\\u0007\x7f\xc2\x9d.PMM")):
        piped = subprocess.run([report] + base + ["--format", form], check=True,
                               capture_output=True).stdout
        if exact not in piped:
            failures.append(f"{form} into a pipe lost bytes: {piped!r}")
    # Trace lines: on the terminal without controls, while the CSV goes to the pipe whole.
    terminal, piped = run(base + ["--format", "csv", "--trace"], "err")
    if controls(terminal) or SHOWN not in terminal.decode("utf-8"):
        failures.append(f"trace on a terminal: {terminal!r}")
    if b"\x1b]0;x\x07" not in piped:
        failures.append(f"csv into a pipe beside a terminal lost bytes: {piped!r}")
    # Messages that quote what was given: an option's value, a mailbox without history.
    hostile = NAME.decode("utf-8", "surrogateescape")
    for args in (["--mailbox", mailbox.decode(), "--format", hostile],
                 ["--mailbox", os.path.join(tmp, hostile), "--since", "1d"]):
        terminal, _ = run(args, "err", status=2)
        if controls(terminal) or SHOWN not in terminal.decode("utf-8"):
            failures.append(f"{args[2:]} message on a terminal: {terminal!r}")

for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
