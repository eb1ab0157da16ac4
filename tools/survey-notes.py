#!/usr/bin/env python3
"""Lists the notes that the installed thesaurus files put after their fields.

A MyThes field may end in notes in parentheses: "warm (similar term)",
"kalt (Gegenbegriff)". Some notes mark the field as an antonym, in the file's own
language. This script counts every note of every data file it finds, per language,
so that the antonym markers in thesaurus/AntonymMarkers.cpp can be checked against
the data that users actually install.

    tools/survey-notes.py [--top N] [--match WORD] [folder...]

Without folders it reads /usr/share/mythes and /usr/local/share/mythes. With
--match it shows only the notes that contain WORD (letter case aside).
"""
import argparse
import collections
import os
import re
import sys

NOTE = re.compile(r"\s\(([^()]*)\)\s*$")


def notes_of(field):
    """The trailing notes of one field, last first."""
    found = []
    while True:
        m = NOTE.search(field)
        if not m:
            return found
        found.append(m.group(1).strip())
        field = field[: m.start()]


def survey(dat_path):
    counts = collections.Counter()
    with open(dat_path, "rb") as f:
        encoding = f.readline().strip().decode("ascii", "replace") or "utf-8"
        if encoding.upper() in ("KOI8-U", "KOI8U"):
            encoding = "koi8_u"
        try:
            "".encode(encoding)
        except LookupError:
            encoding = "utf-8"
        meaning_lines = 0
        for raw in f:
            line = raw.decode(encoding, "replace").rstrip("\r\n")
            if meaning_lines == 0:
                # A headword line: "word|number of meaning lines".
                count = line.rpartition("|")[2]
                meaning_lines = int(count) if count.isdigit() else 0
                continue
            meaning_lines -= 1
            for field in line.split("|")[1:]:
                for note in notes_of(field):
                    counts[note] += 1
    return encoding, counts


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("folders", nargs="*", default=["/usr/share/mythes", "/usr/local/share/mythes"])
    parser.add_argument("--top", type=int, default=15, help="notes shown per file (default 15)")
    parser.add_argument("--match", help="show only notes containing this text")
    args = parser.parse_args()
    files = []
    for folder in args.folders:
        if os.path.isdir(folder):
            files += sorted(os.path.join(folder, n) for n in os.listdir(folder) if n.endswith(".dat"))
    if not files:
        print("no thesaurus data files found in " + ", ".join(args.folders), file=sys.stderr)
        return 1
    seen = set()
    for path in files:
        real = os.path.realpath(path)
        if real in seen:
            continue  # the same file under another locale's name
        seen.add(real)
        encoding, counts = survey(path)
        notes = [(n, c) for n, c in counts.most_common()
                 if not args.match or args.match.lower() in n.lower()]
        print(f"{os.path.basename(path)} ({encoding}): {sum(counts.values())} notes, {len(counts)} different")
        for note, count in notes[: args.top]:
            print(f"    {count:8d}  ({note})")
    return 0


if __name__ == "__main__":
    sys.exit(main())
