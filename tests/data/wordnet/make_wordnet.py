#!/usr/bin/env python3
"""Builds the WordNet fixtures: small index.* and data.* files in WordNet 3.0's
format (wndb(5)), with byte offsets right by construction.

    make_wordnet.py        rebuild every fixture folder beside this script

healthy/   every part of speech: a lemma with several senses (bank), a multi-word
           lemma (ice_cream), an instance hypernym (einstein), adjectives with an
           antonym pair and a satellite (bright, dull, abounding galore(ip)),
           a verb with frames (run), an adverb (brightly).
damaged/   healthy, plus noun lemmas whose lines each break one thing: far (an
           offset past the end), shifted (an offset inside a line), liar (a word
           count that lies), pointy (a pointer count that lies), senseless (an
           index line declaring more senses than it names), cut (the data's last
           line without its end).
unsorted/  healthy, with two lines of index.noun swapped.
partial/   nouns and verbs only, and index.adj without its data.adj.
"""

import pathlib
import shutil

HERE = pathlib.Path(__file__).resolve().parent
LICENCE = ["  1 This is a small hand-made fixture in WordNet's format.  ",
           "  2 Lines of the licence start with two blanks.  "]

# id: (type, [words], [(symbol, target id, source word, target word)], gloss)
# Words are numbered from 1; 0/0 is a pointer between whole synsets.
NOUNS = {
    "slope": ("n", ["slope", "incline"], [], "an elevated geological formation"),
    "institution": ("n", ["financial_institution"], [],
                    "a financial institution that accepts deposits"),
    "bank1": ("n", ["bank"], [("@", "slope", 0, 0)],
              "sloping land (especially the slope beside a body of water); \"they pulled the canoe up on the bank\"; "
              "\"he sat on the bank of the river and watched the currents\""),
    "bank2": ("n", ["depository_financial_institution", "bank", "banking_concern"], [("@", "institution", 0, 0)],
              "a financial institution that accepts deposits and channels the money into lending activities; "
              "\"he cashed a check at the bank\""),
    "dessert": ("n", ["frozen_dessert"], [], "any of various desserts prepared by freezing"),
    "icecream": ("n", ["ice_cream", "icecream"], [("@", "dessert", 0, 0)], "frozen dessert containing cream and sugar"),
    "physicist": ("n", ["physicist"], [], "a scientist trained in physics"),
    "einstein": ("n", ["Einstein", "Albert_Einstein"], [("@i", "physicist", 0, 0)],
                 "physicist born in Germany who formulated the special theory of relativity"),
}
VERBS = {
    "travel": ("v", ["travel_rapidly", "speed", "hurry"], [], "move fast"),
    "run": ("v", ["run"], [("@", "travel", 0, 0)], "move fast by using one's feet; \"Don't run--you'll be out of breath\""),
}
ADJS = {
    "bright": ("a", ["bright"], [("!", "dull", 1, 1)],
               "emitting or reflecting light readily or in large amounts; \"the sun was bright and hot\"; "
               "\"a bright sunlit room\""),
    "vivid": ("s", ["bright", "brilliant", "vivid"], [("&", "bright", 0, 0)], "having striking color; \"bright dress\""),
    "dull": ("a", ["dull"], [("!", "bright", 1, 1)], "emitting or reflecting very little light; \"a dull glow\""),
    "abounding": ("s", ["abounding", "galore(ip)"], [("&", "bright", 0, 0)], "existing in abundance"),
}
ADVS = {
    "brightly": ("r", ["brightly", "bright"], [("\\", "bright", 1, 1)], "with brightness; \"the stars shone brightly\""),
}
POS = {"noun": ("n", NOUNS), "verb": ("v", VERBS), "adj": ("a", ADJS), "adv": ("r", ADVS)}
LETTER_OF = {"n": "noun", "v": "verb", "a": "adj", "s": "adj", "r": "adv"}

# The damaged lemmas: (lemma, synset id, how the data line breaks, how the index names it).
DAMAGED = {
    "far": ("n", ["far"], [], "a synset the index points past"),
    "shifted": ("n", ["shifted"], [], "a synset the index points inside"),
    "liar": ("n", ["liar", "fibber"], [], "a synset whose word count lies"),
    "pointy": ("n", ["pointy"], [("@", "slope", 0, 0)], "a synset whose pointer count lies"),
    "senseless": ("n", ["senseless"], [], "a synset whose index line lies"),
    "cut": ("n", ["cut"], [], "a synset whose line has no end"),
}


def entry_of(synset_id):
    for _, table in POS.values():
        if synset_id in table:
            return table[synset_id]
    return DAMAGED[synset_id]


def where(synset_id):
    for name, (_, table) in POS.items():
        if synset_id in table:
            return name
    return "noun"


def render(synset_id, entry, offsets, lex_file="00"):
    kind, words, pointers, gloss = entry
    fields = ["%08d" % offsets[synset_id], lex_file, kind, "%02x" % len(words)]
    for word in words:
        fields += [word, "0"]
    fields.append("%03d" % len(pointers))
    for symbol, target, source, target_word in pointers:
        letter = entry_of(target)[0]
        fields += [symbol, "%08d" % offsets[target], letter, "%02x%02x" % (source, target_word)]
    if kind == "v":
        fields += ["01", "+", "02", "00"]
    return " ".join(fields) + " | " + gloss + "  \n"


def layout(tables, breaks=None):
    """Offsets of every synset of every data file, and the files' text."""
    breaks = breaks or {}
    offsets = {sid: 0 for table in tables.values() for sid in table}
    for _ in range(2):  # offsets are eight digits wide: the second pass is stable
        texts = {}
        for name, table in tables.items():
            text = "".join(line + "\n" for line in LICENCE)
            for sid, entry in table.items():
                offsets[sid] = len(text.encode())
                line = render(sid, entry, offsets)
                if sid in breaks:
                    line = breaks[sid](line)
                text += line
            texts[name] = text
    return offsets, texts


def index_text(letter, table, offsets, extra=()):
    lemmas = {}
    for sid, (_, words, _, _) in table.items():
        for word in words:
            lemma = word.lower()
            for marker in ("(ip)", "(p)", "(a)"):
                if lemma.endswith(marker):
                    lemma = lemma[: -len(marker)]
            lemmas.setdefault(lemma, []).append(sid)
    lines = {}
    for lemma, sids in lemmas.items():
        symbols = sorted({p[0] for sid in sids for p in table[sid][2]})
        lines[lemma] = " ".join([lemma, letter, str(len(sids)), str(len(symbols))] + symbols
                                + [str(len(sids)), "0"] + ["%08d" % offsets[s] for s in sids]) + "  "
    for lemma, line in extra:
        lines[lemma] = line
    body = [lines[lemma] for lemma in sorted(lines, key=lambda s: s.encode())]
    return "".join(line + "\n" for line in LICENCE + body)


def write(folder, files):
    if folder.exists():
        shutil.rmtree(folder)
    folder.mkdir(parents=True)
    for name, text in files.items():
        (folder / name).write_bytes(text.encode())


def healthy_files(noun_table=None, breaks=None, noun_extra=()):
    tables = {name: table for name, (_, table) in POS.items()}
    if noun_table is not None:
        tables["noun"] = noun_table
    offsets, texts = layout(tables, breaks)
    files = {}
    for name, (letter, _) in POS.items():
        files["data." + name] = texts[name]
        files["index." + name] = index_text(letter, tables[name], offsets, noun_extra if name == "noun" else ())
    return files, offsets


def main():
    files, _ = healthy_files()
    write(HERE / "healthy", files)

    nouns = dict(NOUNS)
    nouns.update(DAMAGED)
    breaks = {
        "liar": lambda line: line.replace(" 02 liar", " 03 liar", 1),
        "pointy": lambda line: line.replace(" 001 @", " 002 @", 1),
        "cut": lambda line: line[: line.index(" | ") + 8],  # the last line: no end
    }
    tables_offsets = healthy_files(nouns, breaks)[1]
    extra = [
        ("far", "far n 1 0 1 0 99999999  "),
        ("shifted", "shifted n 1 0 1 0 %08d  " % (tables_offsets["shifted"] + 3)),
        ("senseless", "senseless n 3 0 3 0 %08d %08d  " % (tables_offsets["senseless"], tables_offsets["slope"])),
    ]
    files, _ = healthy_files(nouns, breaks, extra)
    write(HERE / "damaged", files)

    files, _ = healthy_files()
    lines = files["index.noun"].splitlines(keepends=True)
    first = len(LICENCE)
    lines[first], lines[first + 3] = lines[first + 3], lines[first]
    files["index.noun"] = "".join(lines)
    write(HERE / "unsorted", files)

    files, _ = healthy_files()
    write(HERE / "partial", {name: text for name, text in files.items()
                             if name in ("index.noun", "data.noun", "index.verb", "data.verb", "index.adj")})


if __name__ == "__main__":
    main()
