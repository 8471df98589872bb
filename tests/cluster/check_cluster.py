"""What cluster_test.sh asks of the outputs and reports two dispatches of shards left behind.

shard-sizes LIST N        how many inputs of LIST each shard 0..N-1 takes
snapshot OUT FILE         inode, mtime and size of every output under OUT, into FILE
verify --cli ... ...      every check after the second run; exit 1 and say why on any failure
"""

import argparse
import json
import os
import re
import subprocess
import sys

STATUSES = {"converted", "skipped", "refused", "failed"}
FIELDS = ["input", "output", "status", "error", "input_duration", "output_duration", "bytes",
          "seconds", "host", "shard"]
TOLERANCE = 0.1


def fnv1a64(data):
    value = 0xCBF29CE484222325
    for byte in data:
        value ^= byte
        value = (value * 0x100000001B3) & 0xFFFFFFFFFFFFFFFF
    return value


def shard_of(path, shards):
    return fnv1a64(os.fsencode(path)) % shards


def read_list(path):
    with open(path, "rb") as f:
        return [os.fsdecode(line) for line in f.read().split(b"\n") if line]


def temporary(name):
    return name.startswith(".talwyn-")


def snapshot(out, target):
    files = {}
    for folder, _, names in os.walk(out):
        for name in names:
            if temporary(name):
                continue
            path = os.path.join(folder, name)
            st = os.lstat(path)
            files[os.path.relpath(path, out)] = [st.st_dev, st.st_ino, st.st_mtime_ns, st.st_size]
    with open(target, "w") as f:
        json.dump(files, f)
    print(f"   {len(files)} outputs complete after run 1")


def probe_durations(cli, paths):
    """Seconds of each file as talwynwav-cli probe tells them; None for one it refused."""
    durations = {}
    for start in range(0, len(paths), 100):
        chunk = paths[start:start + 100]
        result = subprocess.run([cli, "probe", *chunk], capture_output=True)
        name = None
        for line in result.stdout.decode("utf-8", "surrogateescape").splitlines():
            if line.startswith("文件: "):
                name = line[len("文件: "):]
            match = re.match(r"时长: (\d+):(\d\d):(\d\d)\.(\d\d)", line)
            if match and name is not None:
                h, m, s, cs = (int(g) for g in match.groups())
                durations[name] = h * 3600 + m * 60 + s + cs / 100
    return {path: durations.get(path) for path in paths}


class Checker:
    def __init__(self):
        self.problems = []

    def fail(self, text):
        self.problems.append(text)

    def check(self, what, problems_before):
        count = len(self.problems) - problems_before
        print(f"   {'ok  ' if count == 0 else 'FAIL'} {what}")
        for text in self.problems[problems_before:][:15]:
            print(f"        {text}")
        if count > 15:
            print(f"        ... and {count - 15} more")


def read_reports(folder, run, shards, victim, checker):
    """Records of one run by shard; a torn last line is allowed only from the killed worker."""
    records = {}
    for k in range(shards):
        path = os.path.join(folder, f"{run}-{k}.jsonl")
        records[k] = []
        if not os.path.exists(path):
            checker.fail(f"{run}: shard {k} wrote no report {path}")
            continue
        with open(path, "rb") as f:
            data = f.read()
        lines = data.split(b"\n")
        for number, line in enumerate(lines, 1):
            if not line:
                continue
            if number == len(lines):
                # No newline after it: the worker died while writing it, which only the killed
                # one may have done.
                if run == "run1" and k == victim:
                    print(f"   (the killed worker's report ends in a torn line: {line[:60]!r})")
                else:
                    checker.fail(f"{path}:{number}: a record without its newline")
                continue
            try:
                record = json.loads(line)
            except ValueError:
                checker.fail(f"{path}:{number}: not JSON: {line[:120]!r}")
                continue
            if not isinstance(record, dict):
                checker.fail(f"{path}:{number}: not a JSON object")
                continue
            missing = [field for field in FIELDS if field not in record]
            if missing:
                checker.fail(f"{path}:{number}: lacks {', '.join(missing)}")
                continue
            records[k].append(record)
    return records


def verify(args):
    inputs = read_list(args.list)
    shards = args.shards
    out = os.path.abspath(args.out)
    rel_of = {path: os.path.relpath(path, args.corpus) for path in inputs}
    output_of = {path: os.path.join(out, rel) for path, rel in rel_of.items()}
    shard = {path: shard_of(path, shards) for path in inputs}
    with open(args.snapshot) as f:
        before = json.load(f)
    checker = Checker()
    c = checker

    # The output tree: one file per input at the input's place, nothing else, nothing hidden.
    mark = len(c.problems)
    found = set()
    for folder, dirs, names in os.walk(out):
        for name in dirs + names:
            if temporary(name):
                c.fail(f"temporary left: {os.path.join(folder, name)}")
        for name in names:
            if not temporary(name):
                found.add(os.path.relpath(os.path.join(folder, name), out))
    expected = set(rel_of.values())
    for rel in sorted(found - expected):
        c.fail(f"an output no input asked for (a name taken twice?): {rel}")
    for rel in sorted(expected - found):
        c.fail(f"no output for input {rel}")
    c.check(f"{len(found)} files under the output folder, one per input at its place, "
            "no .talwyn- temporary", mark)

    # Every output complete: it probes, and lasts as long as its input.
    mark = len(c.problems)
    source = probe_durations(args.cli, inputs)
    result = probe_durations(args.cli, [output_of[p] for p in inputs if rel_of[p] in found])
    for path in inputs:
        if rel_of[path] not in found:
            continue
        a, b = source[path], result[output_of[path]]
        if a is None:
            c.fail(f"the input {path} does not probe")
        elif b is None:
            c.fail(f"the output {output_of[path]} does not probe")
        elif abs(a - b) > TOLERANCE:
            c.fail(f"{rel_of[path]}: output lasts {b:.2f} s, input {a:.2f} s")
    c.check(f"every output probes with its input's duration (within {TOLERANCE} s)", mark)

    # Nothing that run 1 completed was written again.
    mark = len(c.problems)
    for rel, (dev, ino, mtime, size) in sorted(before.items()):
        path = os.path.join(out, rel)
        try:
            st = os.lstat(path)
        except FileNotFoundError:
            c.fail(f"{rel}: complete after run 1, gone after run 2")
            continue
        if [st.st_dev, st.st_ino, st.st_mtime_ns, st.st_size] != [dev, ino, mtime, size]:
            c.fail(f"{rel}: replaced or changed by run 2 (inode {ino} -> {st.st_ino}, "
                   f"mtime {mtime} -> {st.st_mtime_ns}, size {size} -> {st.st_size})")
    c.check(f"the {len(before)} outputs of run 1 have the same inode, mtime and size", mark)

    # The reports, record by record.
    mark = len(c.problems)
    run1 = read_reports(args.reports, "run1", shards, args.victim, c)
    run2 = read_reports(args.reports, "run2", shards, args.victim, c)
    for run, records in (("run1", run1), ("run2", run2)):
        for k, shard_records in records.items():
            for r in shard_records:
                path = r["input"]
                where = f"{run} shard {k} {path}"
                if path not in shard:
                    c.fail(f"{where}: not an input of the list (the path as given)")
                    continue
                if shard[path] != k:
                    c.fail(f"{where}: FNV-1a 64 puts it in shard {shard[path]}")
                if r["shard"] != f"{k}/{shards}":
                    c.fail(f"{where}: shard field {r['shard']!r}, not \"{k}/{shards}\"")
                if r["status"] not in STATUSES:
                    c.fail(f"{where}: status {r['status']!r}")
                if not isinstance(r["host"], str) or not r["host"]:
                    c.fail(f"{where}: host {r['host']!r}")
                if not isinstance(r["seconds"], (int, float)) or r["seconds"] < 0:
                    c.fail(f"{where}: seconds {r['seconds']!r}")
                if r["status"] not in ("converted", "skipped"):
                    c.fail(f"{where}: {r['status']}: {r['error']}")
                    continue
                if r["output"] != output_of[path]:
                    c.fail(f"{where}: output {r['output']!r}, not {output_of[path]!r}")
                    continue
                for field, seconds in (("input_duration", source[path]),
                                       ("output_duration", result.get(output_of[path]))):
                    value = r[field]
                    if not isinstance(value, (int, float)) or seconds is None or \
                            abs(value - seconds) > TOLERANCE:
                        c.fail(f"{where}: {field} {value!r}, the file lasts {seconds} s")
                if os.path.exists(output_of[path]) and r["bytes"] != os.path.getsize(output_of[path]):
                    c.fail(f"{where}: bytes {r['bytes']!r}, the output has "
                           f"{os.path.getsize(output_of[path])}")
    c.check("every report record has all fields, its input's shard by FNV-1a 64, the output "
            "under the mirrored path, durations and size of the files", mark)

    # Run 1: the shards that were not killed did all their inputs, once each.
    mark = len(c.problems)
    for k in range(shards):
        mine = sorted(p for p in inputs if shard[p] == k)
        said = [r["input"] for r in run1[k]]
        if len(said) != len(set(said)):
            c.fail(f"run1 shard {k}: an input reported twice")
        if k == args.victim:
            if len(said) >= len(mine):
                c.fail(f"run1 shard {k} was killed, yet reported all {len(mine)} inputs")
            continue
        if sorted(said) != mine:
            c.fail(f"run1 shard {k}: reported {len(set(said))} of its {len(mine)} inputs")
        for r in run1[k]:
            if r["status"] != "converted":
                c.fail(f"run1 shard {k} {r['input']}: {r['status']}, not converted")
    c.check(f"run 1: each shard but the killed one ({args.victim}) converted all of its own inputs",
            mark)

    # Run 2: every input once; what run 1 completed skipped, the rest converted.
    mark = len(c.problems)
    for k in range(shards):
        mine = sorted(p for p in inputs if shard[p] == k)
        said = [r["input"] for r in run2[k]]
        if sorted(said) != mine:
            c.fail(f"run2 shard {k}: reported {len(said)} records for its {len(mine)} inputs")
        for r in run2[k]:
            if r["input"] not in rel_of:
                continue
            want = "skipped" if rel_of[r["input"]] in before else "converted"
            if r["status"] != want:
                c.fail(f"run2 shard {k} {r['input']}: {r['status']}, want {want}")
    c.check("run 2 with --skip-existing: each shard reported each of its inputs once, skipped "
            "what run 1 completed and converted the rest", mark)

    # All reports merged, the last record of an input winning.
    mark = len(c.problems)
    final = {}
    converted = {}
    for records in (run1, run2):
        for k in range(shards):
            for r in records[k]:
                final[r["input"]] = r["status"]
                converted[r["input"]] = converted.get(r["input"], 0) + (r["status"] == "converted")
    for path in inputs:
        if path not in final:
            c.fail(f"{path}: in no report")
        elif final[path] not in ("converted", "skipped"):
            c.fail(f"{path}: ends {final[path]}")
    for path in sorted(set(final) - set(inputs)):
        c.fail(f"{path}: reported but not an input")
    twice = [p for p in inputs if converted.get(p, 0) > 1]
    for path in twice:
        c.fail(f"{path}: converted {converted[path]} times")
    # The killed worker may have finished one file and died before reporting it (--jobs 1).
    unreported = [p for p in inputs if converted.get(p, 0) == 0]
    for path in unreported:
        if shard[path] != args.victim or final.get(path) != "skipped":
            c.fail(f"{path}: never reported converted")
    if len(unreported) > 1:
        c.fail(f"{len(unreported)} inputs were never reported converted; the killed worker "
               "could leave one at most")
    c.check(f"merged reports name all {len(inputs)} inputs once each, ending converted or "
            "skipped, none converted twice", mark)

    if c.problems:
        print(f"{len(c.problems)} problems", file=sys.stderr)
        return 1
    return 0


def main():
    parser = argparse.ArgumentParser()
    commands = parser.add_subparsers(dest="command", required=True)
    sizes = commands.add_parser("shard-sizes")
    sizes.add_argument("list")
    sizes.add_argument("shards", type=int)
    snap = commands.add_parser("snapshot")
    snap.add_argument("out")
    snap.add_argument("file")
    check = commands.add_parser("verify")
    for name in ("--cli", "--list", "--corpus", "--out", "--reports", "--snapshot"):
        check.add_argument(name, required=True)
    check.add_argument("--shards", type=int, required=True)
    check.add_argument("--victim", type=int, required=True)
    args = parser.parse_args()

    if args.command == "shard-sizes":
        counts = [0] * args.shards
        for path in read_list(args.list):
            counts[shard_of(path, args.shards)] += 1
        print(" ".join(str(n) for n in counts))
        return 0
    if args.command == "snapshot":
        snapshot(args.out, args.file)
        return 0
    return verify(args)


if __name__ == "__main__":
    sys.exit(main())
