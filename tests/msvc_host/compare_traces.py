#!/usr/bin/env python3
"""Runs the Microsoft-ABI host and the reference host m5import.exe under wine on the same
files and fails unless their import traces agree value for value.

The host writes doubles and floats as bit patterns; m5import's shortest round-trip texts
are turned into the same patterns here (Python reads decimal text exactly).

  compare_traces.py traces --emulator 'wine' --host EXE --reference EXE --plugin DLL --source DIR
  compare_traces.py inject conversion|allocation:N ... (same options)
"""
import argparse
import difflib
import re
import struct
import subprocess
import sys
from fractions import Fraction
from pathlib import Path

DOUBLE_CALLS = {
    "SetX", "SetY", "SetZ", "SetInstrumentHeight", "SetPressure", "SetTemperature",
    "SetVerticalAngle", "SetHorizontalDirection", "SetTargetHeight", "SetSlopeDistance",
    "SetHorizontalDistance", "SetHeightDifference",
}
CALL = re.compile(r"^(\w+)\((.*)\)$")


def float32_bits(text):
    """The bits of the float nearest to the decimal text, rounded once, ties to even."""
    if text in ("inf", "-inf", "nan", "-nan"):
        return struct.unpack("<I", struct.pack("<f", float(text)))[0]
    exact = Fraction(text)
    near = struct.unpack("<I", struct.pack("<f", float(exact)))[0]
    best = None
    for bits in (near - 1, near, near + 1):
        if bits < 0 or bits > 0xFFFFFFFF:
            continue
        value = struct.unpack("<f", struct.pack("<I", bits))[0]
        if value != value or value in (float("inf"), float("-inf")):
            continue
        key = (abs(Fraction(value) - exact), bits & 1)
        if best is None or key < best[0]:
            best = (key, bits)
    return best[1]


def as_bit_patterns(trace):
    lines = []
    for line in trace.splitlines():
        match = CALL.match(line)
        if match and match.group(1) in DOUBLE_CALLS:
            bits = struct.unpack("<Q", struct.pack("<d", float(match.group(2))))[0]
            line = "%s(0x%016X)" % (match.group(1), bits)
        elif match and match.group(1) == "SetProgress":
            line = "SetProgress(0x%08X)" % float32_bits(match.group(2))
        lines.append(line)
    return lines


def read_ini(path):
    pairs = []
    for line in Path(path).read_text(encoding="utf-8").splitlines():
        line = line.strip()
        if line and not line.startswith((";", "#", "[")):
            pairs.append(line.replace(" ", ""))
    return pairs


def groups(source):
    """(folder, settings file, inputs) for every example, every golden case and the corpus."""
    examples = source / "examples"
    yield examples, examples / "settings.ini", sorted(p.name for p in examples.glob("*.dat"))
    golden = source / "tests" / "golden"
    plain = []
    for case in sorted(golden.glob("*.dat")):
        own = case.with_suffix(".ini")
        if own.exists():
            yield golden, own, [case.name]
        else:
            plain.append(case.name)
    yield golden, golden / "default.ini", plain
    # Real surveys, when the public corpus lies beside the project.
    corpus = source.parent / "shared" / "m5-corpus"
    surveys = sorted(p.name for p in corpus.glob("*") if p.is_file() and p.suffix != ".md")
    if surveys:
        yield corpus, golden / "default.ini", surveys


def run(command, folder):
    done = subprocess.run(command, cwd=folder, capture_output=True, timeout=120)
    return (done.returncode, done.stdout.decode("utf-8", "replace").replace("\r\n", "\n"),
            done.stderr.decode("utf-8", "replace"))


def run_host(options, folder, settings, inputs, injection=None):
    command = options.emulator + [options.host, "--plugin", options.plugin]
    for pair in read_ini(settings):
        command += ["--set", pair]
    if injection:
        command += ["--fail", injection]
    status, out, err = run(command + inputs, folder)
    if status != 0 or err:
        # Its status counts its findings; a process the plug-in brought down ends otherwise.
        sys.exit("the Microsoft-ABI host ended with status %d on %s:\n%s" % (status, inputs, err))
    return out.splitlines()


def run_reference(options, folder, settings, inputs):
    command = options.emulator + [options.reference, "--plugin", options.plugin, "--settings",
                                  str(settings), "--format", "trace", "--check-refs",
                                  "--no-progress"]
    status, out, err = run(command + inputs, folder)
    # A hint on the layout (the public corpus's files have layouts of their own) is advice,
    # not a fault; anything else on stderr is.
    err = "".join(line for line in err.splitlines(True) if not line.startswith("m5import: hint:"))
    if status not in (0, 1) or err:
        sys.exit("m5import ended with %d on %s:\n%s" % (status, inputs, err))
    return as_bit_patterns(out)


def differ(expected, actual, what):
    diff = list(difflib.unified_diff(expected, actual, "m5import " + what,
                                     "Microsoft-ABI host " + what, lineterm="", n=2))
    print("\n".join(diff[:60]))
    sys.exit("the traces differ on %s" % what)


def compare_traces(options):
    for folder, settings, inputs in groups(options.source):
        expected = run_reference(options, folder, settings, inputs)
        actual = run_host(options, folder, settings, inputs)
        if expected != actual:
            differ(expected, actual, " ".join(inputs))
        print("same trace: %s (%d lines)" % (" ".join(inputs), len(actual)))


def by_file(trace):
    files = []
    for line in trace:
        if line.startswith("BeginFile(") or not files:
            files.append([])
        files[-1].append(line)
    return files


def inject(options, injection):
    folder, settings, inputs = next(groups(options.source))
    strings = (options.source / "resources" / "strings.inc").read_text(encoding="utf-8")
    stopped = re.search(r'M5_STRING\(125, L"([^"%]*)%s', strings).group(1)
    normal = by_file(run_host(options, folder, settings, inputs))
    failed = by_file(run_host(options, folder, settings, inputs, injection))
    if len(failed) != len(inputs) or failed[1:] != normal[1:]:
        differ(sum(normal[1:], []), sum(failed[1:], []), "the files after the failed one")
    first = failed[0]
    reported = any(first[i] == "SetCurrentLine(-1)" and
                   first[i + 1].startswith('ReportError("' + stopped)
                   for i in range(len(first) - 1))
    if not reported:
        print("\n".join(first[-10:]))
        sys.exit("the failure in %s was not reported as a stopped import" % inputs[0])
    print("%s: reported on %s, %d more files imported whole" % (injection, inputs[0],
                                                                 len(inputs) - 1))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("mode", choices=["traces", "inject"])
    parser.add_argument("injection", nargs="?")
    parser.add_argument("--emulator", default="")
    parser.add_argument("--host", required=True)
    parser.add_argument("--reference")
    parser.add_argument("--plugin", required=True)
    parser.add_argument("--source", required=True, type=Path)
    options = parser.parse_args()
    options.emulator = [part for part in options.emulator.split("|") if part]
    if options.mode == "traces":
        compare_traces(options)
    else:
        inject(options, options.injection)


if __name__ == "__main__":
    main()
