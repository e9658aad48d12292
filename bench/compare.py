#!/usr/bin/env python3
"""Whole-process timing of two commands, run alternately so that a load which comes
and goes on a shared machine falls on both alike. Prints the median wall time and the
median CPU time (user + system, from the kernel's accounting of each child) of each,
and the ratios of the first to the second.

usage: compare.py RUNS NAME_A "COMMAND A" NAME_B "COMMAND B"
"""
import os
import shlex
import statistics
import subprocess
import sys
import time


def run(argv):
    start = time.perf_counter()
    child = subprocess.Popen(argv, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    wall = time.perf_counter() - start
    child.returncode = os.waitstatus_to_exitcode(status)
    if child.returncode != 0:
        sys.exit(f"{argv[0]} failed with status {child.returncode}")
    return wall, usage.ru_utime + usage.ru_stime, usage.ru_utime, usage.ru_stime


def main():
    runs = int(sys.argv[1])
    names = [sys.argv[2], sys.argv[4]]
    commands = [shlex.split(sys.argv[3]), shlex.split(sys.argv[5])]
    for command in commands * 3:  # warm the cache and the loader
        run(command)
    samples = [[], []]
    for _ in range(runs):
        for i, command in enumerate(commands):
            samples[i].append(run(command))
    medians = []
    for name, rows in zip(names, samples):
        wall, cpu, user, system = (statistics.median(r[k] for r in rows) * 1000 for k in range(4))
        medians.append((wall, cpu))
        print(f"  {name:8} wall {wall:7.1f} ms   cpu {cpu:7.1f} ms "
              f"(user {user:5.1f}, system {system:5.1f})   medians of {runs}")
    (wa, ca), (wb, cb) = medians
    print(f"  ratio    wall {wa / wb:7.2f}      cpu {ca / cb:7.2f}")


if __name__ == "__main__":
    main()
