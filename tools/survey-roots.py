#!/usr/bin/env python3
"""Which root answers each word of a text, and which rule found it.

    tools/survey-roots.py FILE LANGUAGE [BUILD_DIR]

FILE is a UTF-8 text; LANGUAGE a name of the program's language list ("German",
"English US"). The text is cut at blanks, as a pasted sentence would be, and each
distinct word is resolved once, as the window resolves a typed word. Printed: one
line per word that found synonyms through a root other than its own entry,

    word <TAB> root <TAB> rule

in the text's order, then how many words each rule answered. The rules are those
of WordForms::ruleName: punctuation, apostrophe, elision, irregular-form,
suffix-rule, hunspell-check, hunspell-analysis, compound-tail.

The words are resolved by bench/verbarium-coverage of BUILD_DIR (default
build-bench, configured and built if the program is missing), reading the
installed data as the program does.
"""

import collections
import pathlib
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
# The coverage benchmark's tool answers for each word; built as that benchmark builds it.
sys.path.insert(0, str(ROOT / "bench"))
from coverage import build_tool  # noqa: E402


def main():
    if len(sys.argv) not in (3, 4):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    text_path, language = pathlib.Path(sys.argv[1]), sys.argv[2]
    try:
        text = text_path.read_text(encoding="utf-8", errors="replace")
    except OSError as error:
        print(f"survey-roots: cannot read {text_path}: {error.strerror}", file=sys.stderr)
        return 2
    words = list(dict.fromkeys(t for t in text.split() if any(c.isalpha() for c in t)))
    if not words:
        print(f"survey-roots: {text_path} holds no words", file=sys.stderr)
        return 1
    build = pathlib.Path(sys.argv[3]) if len(sys.argv) == 4 else ROOT / "build-bench"
    tool = build_tool(build.resolve())
    result = subprocess.run([str(tool), language], input="\n".join(words) + "\n", capture_output=True, text=True)
    sys.stderr.write(result.stderr)
    if result.returncode != 0:
        return result.returncode
    rules = collections.Counter()
    for line in result.stdout.splitlines():
        word, _today, _stems, ours, root, rule = line.split("\t")
        if ours != "1":
            continue
        rules[rule] += 1
        if rule != "entry":
            print(f"{word}\t{root}\t{rule}")
    answered = sum(rules.values())
    print(f"\n{len(words)} distinct words, {answered} found synonyms:")
    for rule, count in rules.most_common():
        print(f"  {rule:<18} {count:5}  {100.0 * count / answered:5.1f}%")
    return 0


if __name__ == "__main__":
    sys.exit(main())
