#!/usr/bin/env python3
"""Coverage of real prose: the share of distinct words that find synonyms.

    bench/coverage.py [BUILD_DIR]     (default: build-bench, built if missing)

For English, German, French and Spanish it takes the first WORDS words of texts
that Debian packages ship (none written by us), cuts them at blanks as a user who
types or pastes them would get them, keeps each distinct word once, and asks
verbarium-coverage how many find synonyms:

  today   the lookup as it was: the word as given, then lower-cased
  stems   today, or any stem that Hunspell names for the word has an entry (the floor)
  ours    the word's root as the program resolves it

and then, per language, the share of the answered words that each rule of
WordForms answered (its own entry, punctuation, WordNet's lists and suffix
rules, Hunspell's spell check and analysis, a compound's last part).

The texts, and the data the lookups read, come from Debian packages; missing ones
are installed when run as root (apt-get), otherwise named.
"""

import collections
import gzip
import pathlib
import re
import shutil
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
WORDS = 5000

FORTUNES = pathlib.Path("/usr/share/games/fortunes")
MAN_FR = pathlib.Path("/usr/share/man/fr/man1")

# language list name, packages, a description of the text, the files in order
LANGUAGES = [
    ("English US", ["fortunes", "mythes-en-us", "hunspell-en-us", "wordnet-base"],
     "fortune quotations (package fortunes: literature, wisdom, people)",
     lambda: [FORTUNES / n for n in ("literature", "wisdom", "people")]),
    ("German", ["fortunes-de", "mythes-de", "hunspell-de-de"],
     "German fortune texts (package fortunes-de, files in name order)",
     lambda: sorted(p for p in (FORTUNES / "de").iterdir() if p.is_file() and not p.suffix)),
    ("French", ["manpages-fr", "mythes-fr", "hunspell-fr"],
     "French manual pages, section 1 (package manpages-fr, in name order)",
     lambda: sorted(MAN_FR.glob("*.1.gz"))),
    ("Spanish", ["fortunes-es", "mythes-es", "hunspell-es"],
     "Spanish fortune texts (package fortunes-es, files in name order)",
     lambda: sorted((FORTUNES / "es").glob("*.fortunes"))),
]


def installed(package):
    result = subprocess.run(["dpkg-query", "-W", "-f=${Status}", package], capture_output=True, text=True)
    return "install ok installed" in result.stdout


def ensure(packages):
    missing = [p for p in packages if not installed(p)]
    if not missing:
        return True
    if shutil.which("apt-get") and subprocess.run(["id", "-u"], capture_output=True, text=True).stdout.strip() == "0":
        print(f"coverage: installing {' '.join(missing)}", file=sys.stderr)
        subprocess.run(["apt-get", "install", "-y", "-qq", "--no-install-recommends", *missing],
                       check=True, stdout=subprocess.DEVNULL)
        return True
    print(f"coverage: needs {' '.join(missing)} (apt-get install as root)", file=sys.stderr)
    return False


ROFF_ESCAPE = re.compile(r"\\(f[BIRP]|f\(..|\(..|\*.|[-&e|^0 ]|s[-+]?\d)")


def text_of(path):
    if path.suffix == ".gz":
        raw = gzip.decompress(path.read_bytes()).decode("utf-8", "replace")
        lines = []
        for line in raw.splitlines():
            if line.startswith((".", "'")):  # requests and comments of the page's markup
                continue
            lines.append(ROFF_ESCAPE.sub(" ", line).replace("\\", " "))
        return "\n".join(lines)
    text = path.read_text(encoding="utf-8", errors="replace")
    return "\n".join(l for l in text.splitlines() if l.strip() != "%")


def is_word(token):
    """A piece of prose with letters: no option, path, address, number or markup."""
    if sum(c.isalpha() for c in token) < 2:
        return False
    if token.startswith("-") or any(c in token for c in "/\\=@_<>{}[]|#$%*+~^") or any(c.isdigit() for c in token):
        return False
    return True


def words_of(files):
    taken = []
    for path in files:
        for token in text_of(path).split():
            if is_word(token):
                taken.append(token)
                if len(taken) == WORDS:
                    return taken
    return taken


def build_tool(build):
    tool = build / "bench" / "verbarium-coverage"
    if not tool.exists():
        subprocess.run(["cmake", "-S", str(ROOT), "-B", str(build), "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
                        "-DVERBARIUM_BUILD_BENCHMARKS=ON", "-DVERBARIUM_BUILD_UI=OFF", "-DVERBARIUM_BUILD_TESTS=OFF"],
                       check=True, stdout=subprocess.DEVNULL)
        subprocess.run(["cmake", "--build", str(build), "--target", "verbarium-coverage"], check=True,
                       stdout=subprocess.DEVNULL)
    return tool


def main():
    build = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else ROOT / "build-bench"
    tool = build_tool(build.resolve())
    print(f"| Language | Text ({WORDS} words each) | Distinct words | Today | Every Hunspell stem (floor) | Ours |")
    print("|---|---|---:|---:|---:|---:|")
    shares = {}
    for language, packages, description, files in LANGUAGES:
        if not ensure(packages):
            print(f"| {language} | {description} | skipped: packages missing | | | |")
            continue
        tokens = words_of(files())
        distinct = list(dict.fromkeys(tokens))
        env = {"PATH": "/usr/bin:/bin", "VERBARIUM_THESAURUS_PATH": ""}
        result = subprocess.run([str(tool), language], input="\n".join(distinct) + "\n", capture_output=True,
                                text=True, env=env, check=True)
        for line in result.stderr.splitlines():
            print(f"coverage: {language}: {line}", file=sys.stderr)
        rows = [line.split("\t") for line in result.stdout.splitlines()]
        n = len(rows)
        share = lambda column: 100.0 * sum(r[column] == "1" for r in rows) / n if n else 0.0
        print(f"| {language} | {description} | {n} | {share(1):.1f}% | {share(2):.1f}% | {share(3):.1f}% |")
        answered = [r for r in rows if r[3] == "1"]
        shares[language] = (len(answered), collections.Counter(r[5] for r in answered))
    rules = sorted({rule for _, counts in shares.values() for rule in counts},
                   key=lambda rule: -sum(counts[rule] for _, counts in shares.values()))
    print()
    print("| Language | Words answered | " + " | ".join(rules) + " |")
    print("|---|---:|" + "---:|" * len(rules))
    for language, (answered, counts) in shares.items():
        cells = " | ".join(f"{100.0 * counts[rule] / answered:.1f}%" if counts[rule] else "" for rule in rules)
        print(f"| {language} | {answered} | {cells} |")


if __name__ == "__main__":
    main()
