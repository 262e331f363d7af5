#!/usr/bin/env python3
"""Runs one row of m5import's golden table (rows.tsv beside this file) and compares what
m5import wrote, said and returned with the row's expected files. With the environment
variable M5_UPDATE_GOLDEN set, writes them instead (and the row's status and file names).

Usage: run_row.py ROW HOST PLUGIN SOURCE_DIR SCRATCH_DIR VERSION [--windows] [EMULATOR...]
       run_row.py --unnamed   fails on an expected file that no row names any more

A row (tab-separated; README, "Golden files"):
  name  folder  command  status  stdout  stderr  files  windows
- folder: where the command runs, from the source tree's root.
- command: as a shell would take it, starting with m5import; NAME=VALUE before it sets the
  environment, <FILE reads standard input from FILE, a word with * is the folder's files
  that match it, sorted. @OUT@ is an empty folder of the row's own, @SOURCE@ the source
  tree.
- stdout, stderr: files of the expected bytes, from the table's folder; - for nothing.
- files: what the run leaves in @OUT@, as NAME=FILE, space-separated; - for nothing.
  Anything else left there (a temporary file, an output not listed) fails the row.
- windows: what differs on the Windows build, as COLUMN=VALUE (status=, stdout=, stderr=,
  files= with NAME:FILE,...), skip where the row cannot run there, or - for the same bytes;
  the comment above the row says why.

Every run has SOURCE_DATE_EPOCH=1700000000 (LandXML's date), M5_PLUGIN set to the plug-in
under test, and the user's configuration folder (XDG_CONFIG_HOME, APPDATA, HOME) at @OUT@,
so the user's own settings never play a part. What depends on the machine is written in
placeholders before the comparison, in this order: the row's @OUT@ folder, the plug-in's
path (@PLUGIN@), the source tree (@SOURCE@), and the version after "m5import" (@VERSION@).
"""
import difflib
import fcntl
import glob
import os
import shlex
import shutil
import subprocess
import sys
import tempfile

TABLE_DIR = os.path.dirname(os.path.abspath(__file__))
TABLE = os.path.join(TABLE_DIR, "rows.tsv")
COLUMNS = ("name", "folder", "command", "status", "stdout", "stderr", "files", "windows")
NOTHING = "-"
SKIPPED = 77  # CTest's SKIP_RETURN_CODE


def read_rows():
    rows = {}
    with open(TABLE, encoding="utf-8") as table:
        for line in table:
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            cells = line.split("\t")
            if len(cells) != len(COLUMNS):
                sys.exit(f"rows.tsv: {len(cells)} columns, not {len(COLUMNS)}: {line}")
            rows[cells[0]] = dict(zip(COLUMNS, cells))
    return rows


def parse_files(text, separator):
    if text == NOTHING:
        return {}
    pairs = text.split(separator)
    return dict(pair.split("=" if separator == " " else ":", 1) for pair in pairs)


def expectations(row, windows):
    """The row's expected status and files, with the Windows build's differences."""
    expected = {
        "status": row["status"],
        "stdout": row["stdout"],
        "stderr": row["stderr"],
        "files": parse_files(row["files"], " "),
    }
    if windows and row["windows"] != NOTHING:
        for change in row["windows"].split(" "):
            column, value = change.split("=", 1)
            expected[column] = parse_files(value, ",") if column == "files" else value
    return expected


def command_of(row, host, emulator, out, source):
    """The argument list, environment and standard input of the row's command."""
    words = shlex.split(row["command"].replace("@OUT@", out).replace("@SOURCE@", source))
    environment = {}
    while words and "=" in words[0] and words[0] != "m5import":
        name, value = words.pop(0).split("=", 1)
        environment[name] = value
    if not words or words[0] != "m5import":
        sys.exit(f"{row['name']}: the command does not start with m5import")
    arguments, stdin = [], None
    folder = os.path.join(source, row["folder"])
    for word in words[1:]:
        if word.startswith("<"):
            stdin = os.path.join(folder, word[1:])
        elif "*" in word:
            arguments += sorted(os.path.relpath(match, folder)
                                for match in glob.glob(os.path.join(folder, word)))
        else:
            arguments.append(word)
    return emulator + [host] + arguments, environment, stdin


def stable(data, out, plugin, source, version):
    """The output with what depends on the machine written as placeholders."""
    for path, name in ((out, b"@OUT@"), (plugin, b"@PLUGIN@"), (source, b"@SOURCE@")):
        data = data.replace(os.fsencode(path), name)
    version = version.encode()
    for before in (b"m5import ", b'name="m5import" version="'):
        data = data.replace(before + version, before + b"@VERSION@")
    return data


def difference(name, expected, actual):
    # Line ends and byte-order marks do not show in a diff of lines: say so in words.
    for mark, what in ((b"\r", "line ends (CR)"), (b"\xef\xbb\xbf", "byte-order mark")):
        if expected.replace(mark, b"") == actual.replace(mark, b""):
            return f"  only in its {what}: {expected.count(mark)} expected, " \
                   f"{actual.count(mark)} written\n"
    lines = difflib.unified_diff(
        expected.decode("utf-8", "replace").splitlines(keepends=True),
        actual.decode("utf-8", "replace").splitlines(keepends=True),
        f"expected {name}", f"m5import's {name}", n=2)
    shown = list(lines)[:40]
    return "".join(line if line.endswith("\n") else line + "\n" for line in shown)


def write_atomically(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    handle, temporary = tempfile.mkstemp(dir=os.path.dirname(path), prefix=".table-")
    with os.fdopen(handle, "wb") as file:
        file.write(data)
    os.replace(temporary, path)


def update_row(name, changes, lock_file):
    """Rewrites the row's cells in rows.tsv; rows run in parallel, so under a lock."""
    with open(lock_file, "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        with open(TABLE, encoding="utf-8") as table:
            lines = table.read().split("\n")
        for i, line in enumerate(lines):
            cells = line.split("\t")
            if cells[0] == name and not line.startswith("#") and len(cells) == len(COLUMNS):
                for column, value in changes.items():
                    cells[COLUMNS.index(column)] = value
                lines[i] = "\t".join(cells)
        write_atomically(TABLE, "\n".join(lines).encode("utf-8"))


def unnamed_files():
    """The expected files no row names, such as a rewrite leaves when an output goes."""
    named = set()
    for row in read_rows().values():
        for column in ("stdout", "stderr"):
            named.add(row[column])
        named.update(parse_files(row["files"], " ").values())
        for change in row["windows"].split(" "):
            column, _, value = change.partition("=")
            named.update(parse_files(value, ",").values() if column == "files" else [value])
    folders = [os.path.join(TABLE_DIR, "..", "formats")] + [
        os.path.join(TABLE_DIR, entry) for entry in os.listdir(TABLE_DIR)
        if entry != "inputs" and os.path.isdir(os.path.join(TABLE_DIR, entry))]
    left = []
    for top in folders:
        for folder, _, names in os.walk(top):
            for file in names:
                path = os.path.relpath(os.path.join(folder, file), TABLE_DIR)
                if path not in named:
                    left.append(path)
    for path in sorted(left):
        print(f"{path} is named by no row of rows.tsv: remove it, or name it in a row")
    return 1 if left else 0


def main():
    arguments = sys.argv[1:]
    if arguments == ["--unnamed"]:
        return unnamed_files()
    windows = "--windows" in arguments
    arguments = [a for a in arguments if a != "--windows"]
    name, host, plugin, source, scratch, version = arguments[:6]
    emulator = [word for word in arguments[6:] if word]
    source = os.path.abspath(source)
    row = read_rows().get(name)
    if row is None:
        sys.exit(f"rows.tsv has no row {name}")
    if windows and row["windows"] == "skip":
        print(f"row {name} does not run on Windows; rows.tsv says why")
        return SKIPPED
    expected = expectations(row, windows)

    out = os.path.join(os.path.abspath(scratch), name)
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    command, environment, stdin = command_of(row, host, emulator, out, source)
    env = dict(os.environ, SOURCE_DATE_EPOCH="1700000000", M5_PLUGIN=plugin, XDG_CONFIG_HOME=out,
               APPDATA=out, HOME=out)
    env.update(environment)
    with open(stdin or os.devnull, "rb") as given:
        run = subprocess.run(command, cwd=os.path.join(source, row["folder"]), env=env,
                             stdin=given, capture_output=True, timeout=120)

    def fix(data):
        return stable(data, out, plugin, source, version)

    actual = {"stdout": fix(run.stdout), "stderr": fix(run.stderr)}
    written = {}
    for folder, _, names in os.walk(out):
        for file in names:
            path = os.path.join(folder, file)
            with open(path, "rb") as data:
                written[os.path.relpath(path, out)] = fix(data.read())

    failures = []
    if windows:
        # m5import.exe writes its messages through the C run-time's text stream, which
        # writes each LF as CR LF; standard output is binary and holds what Linux writes.
        plain = actual["stderr"].replace(b"\r\n", b"\n")
        if plain.replace(b"\n", b"\r\n") != actual["stderr"]:
            failures.append("stderr has a LF without CR before it: not a text stream\n")
        actual["stderr"] = plain

    if os.environ.get("M5_UPDATE_GOLDEN"):
        update(row, windows, actual, written, str(run.returncode), out)
        shutil.rmtree(out, ignore_errors=True)
        return 0

    if str(run.returncode) != expected["status"]:
        failures.append(f"exit status {run.returncode}, not {expected['status']}\n")
    for stream in ("stdout", "stderr"):
        want = read_expected(expected[stream])
        if actual[stream] != want:
            failures.append(f"{stream} differs:\n" + difference(stream, want, actual[stream]))
    for file, data in sorted(written.items()):
        if file not in expected["files"]:
            failures.append(f"@OUT@/{file} was left, which the row does not expect\n")
        elif data != read_expected(expected["files"][file]):
            want = read_expected(expected["files"][file])
            failures.append(f"@OUT@/{file} differs:\n" + difference(file, want, data))
    for file in sorted(set(expected["files"]) - set(written)):
        failures.append(f"@OUT@/{file} was not written\n")
    if failures:
        print(f"row {name}: {row['command']}\n(in {row['folder']})")
        print("".join(failures), end="")
        print("If the change is intended: M5_UPDATE_GOLDEN=1 ctest -L golden, then git diff "
              "tests/golden/ and say why in the commit.")
        return 1
    shutil.rmtree(out, ignore_errors=True)
    return 0


def read_expected(file):
    if file == NOTHING:
        return b""
    path = os.path.join(TABLE_DIR, file)
    if not os.path.exists(path):
        return b"(missing: " + file.encode() + b")\n"
    with open(path, "rb") as data:
        return data.read()


def update(row, windows, actual, written, status, out):
    """Writes what m5import did as the row's expectation: the files it names (a new one,
    named after the row, where a stream that was empty is not), and its cells. The Windows
    build writes only where it differs from the Linux expectation, into files and a
    column of its own."""
    name = row["name"]
    linux = expectations(row, False)
    current = expectations(row, windows)

    def file_for(linux_file, now, data, new_name):
        if not data:
            return NOTHING
        if windows:
            if linux_file != NOTHING and read_expected(linux_file) == data:
                return linux_file
            now = now if now.startswith("windows/") else "windows/" + new_name
        elif now == NOTHING:
            now = new_name
        write_atomically(os.path.join(TABLE_DIR, now), data)
        return now

    cells = {"status": status}
    for stream, suffix in (("stdout", ".out"), ("stderr", ".err")):
        cells[stream] = file_for(linux[stream], current[stream], actual[stream],
                                 f"{stream}/{name}{suffix}")
    files = {}
    for file, data in sorted(written.items()):
        files[file] = file_for(linux["files"].get(file, NOTHING),
                               current["files"].get(file, NOTHING), data, f"files/{name}.{file}")
    if windows:
        overrides = []
        for column in ("status", "stdout", "stderr"):
            if cells[column] != linux[column]:
                overrides.append(f"{column}={cells[column]}")
        if files != linux["files"]:
            overrides.append("files=" + (",".join(f"{k}:{v}" for k, v in files.items()) or NOTHING))
        changes = {"windows": " ".join(overrides) or NOTHING}
    else:
        cells["files"] = " ".join(f"{k}={v}" for k, v in files.items()) or NOTHING
        changes = cells
    if any(row[column] != value for column, value in changes.items()):
        update_row(name, changes, os.path.join(os.path.dirname(out), "rows.lock"))
        print(f"row {name}: " + " ".join(f"{k}={v}" for k, v in changes.items()))


if __name__ == "__main__":
    sys.exit(main())
