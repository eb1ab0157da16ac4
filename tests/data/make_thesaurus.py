#!/usr/bin/env python3
"""Builds the MyThes fixtures (.idx/.dat pairs) from the readable sources in src/.

    make_thesaurus.py                 rebuild every committed fixture
    make_thesaurus.py SOURCE OUTBASE  build one pair: OUTBASE.idx and OUTBASE.dat

Source format: a line "encoding: NAME" (the name written to both files, as real
data spells it), optionally "bom: yes"; '#' lines and blank lines are ignored; a
line at the left margin is a headword and the indented lines under it are its
meaning lines, copied as they stand. The idx is sorted by byte order, as MyThes
searches it, so the offsets are right by construction.

The damaged fixtures are small edits of the healthy en_US pair: each one breaks
exactly one thing the file check has to notice.
"""

import pathlib
import sys

HERE = pathlib.Path(__file__).resolve().parent
BOM = b"\xef\xbb\xbf"


def python_codec(name):
    name = name.strip().lower()
    if name.startswith("cp-"):
        name = "cp" + name[3:]
    return name


def parse(source_path):
    encoding, bom, entries = None, False, []
    for number, raw in enumerate(source_path.read_text(encoding="utf-8").split("\n"), 1):
        if not raw.strip() or raw.lstrip().startswith("#"):
            continue
        if raw.startswith("encoding:"):
            encoding = raw.split(":", 1)[1].strip()
        elif raw.startswith("bom:"):
            bom = raw.split(":", 1)[1].strip() == "yes"
        elif raw[0] in " \t":
            if not entries:
                sys.exit(f"{source_path}:{number}: a meaning line before any headword")
            entries[-1][1].append(raw.lstrip(" \t"))
        else:
            entries.append((raw, []))
    if encoding is None:
        sys.exit(f"{source_path}: no 'encoding:' line")
    for word, meanings in entries:
        if not meanings:
            sys.exit(f"{source_path}: '{word}' has no meaning lines")
    return encoding, bom, entries


def build(source_path, newline="\n"):
    """Returns (idx bytes, dat bytes) for a source file."""
    encoding, bom, entries = parse(source_path)
    codec = python_codec(encoding)
    nl = newline.encode("ascii")
    dat = bytearray((BOM if bom else b"") + encoding.encode("ascii") + nl)
    offsets = []
    for word, meanings in entries:
        key = word.encode(codec)
        offsets.append((key, len(dat)))
        dat += key + b"|" + str(len(meanings)).encode("ascii") + nl
        for line in meanings:
            dat += line.encode(codec) + nl
    offsets.sort()
    keys = [key for key, _ in offsets]
    if len(set(keys)) != len(keys):
        sys.exit(f"{source_path}: a headword is listed twice")
    idx = bytearray((BOM if bom else b"") + encoding.encode("ascii") + nl)
    idx += str(len(offsets)).encode("ascii") + nl
    for key, offset in offsets:
        idx += key + b"|" + str(offset).encode("ascii") + nl
    return bytes(idx), bytes(dat)


def write(outbase, idx, dat):
    outbase.parent.mkdir(parents=True, exist_ok=True)
    outbase.with_name(outbase.name + ".idx").write_bytes(idx)
    outbase.with_name(outbase.name + ".dat").write_bytes(dat)


def idx_line(idx, word):
    """The byte range of a word's idx line, newline excluded."""
    start = idx.index(b"\n" + word + b"|") + 1
    return start, idx.index(b"\n", start)


def replace_idx_offset(idx, word, offset):
    start, end = idx_line(idx, word)
    return idx[:start] + word + b"|" + str(offset).encode("ascii") + idx[end:]


def entry_at(dat, word):
    return dat.index(b"\n" + word + b"|") + 1


def set_declared(idx, count):
    first = idx.index(b"\n") + 1
    second = idx.index(b"\n", first)
    return idx[:first] + str(count).encode("ascii") + idx[second:]


def declared(idx):
    first = idx.index(b"\n") + 1
    return int(idx[first:idx.index(b"\n", first)])


# Each edit takes and returns (idx, dat). Offsets before the edited spot stay right,
# so only the intended fault is left.
def damage_cases():
    def empty_dat(idx, dat):
        return idx, b""

    def empty_idx(idx, dat):
        return b"", dat

    def unknown_encoding(idx, dat):
        return idx, b"KLINGON-8" + dat[len(b"UTF-8"):]

    def count_too_high(idx, dat):
        return set_declared(idx, declared(idx) + 1), dat

    def count_too_low(idx, dat):
        return set_declared(idx, declared(idx) - 1), dat

    def count_missing(idx, dat):
        first = idx.index(b"\n") + 1
        return idx[:first] + idx[idx.index(b"\n", first) + 1:], dat

    def count_not_a_number(idx, dat):
        return idx.replace(b"\n%d\n" % declared(idx), b"\nmany\n", 1), dat

    def offset_past_end(idx, dat):
        return replace_idx_offset(idx, b"run", len(dat) + 100), dat

    def offset_mid_entry(idx, dat):
        # into the first meaning line of "run"
        return replace_idx_offset(idx, b"run", dat.index(b"\n", entry_at(dat, b"run")) + 1), dat

    def offset_at_a_field(idx, dat):
        # "dawn|daybreak" inside a meaning line of "morning" reads like an entry of "dawn"
        return replace_idx_offset(idx, b"dawn", dat.index(b"|dawn|daybreak") + 1), dat

    def offset_other_word(idx, dat):
        return replace_idx_offset(idx, b"run", entry_at(dat, b"go")), dat

    def offset_not_a_number(idx, dat):
        start, end = idx_line(idx, b"run")
        return idx[:start] + b"run|-12" + idx[end:], dat

    def index_line_without_bar(idx, dat):
        start, end = idx_line(idx, b"run")
        return idx[:start] + b"run " + idx[start + 4:end] + idx[end:], dat

    def index_line_too_long(idx, dat):
        start, end = idx_line(idx, b"run")
        return idx[:start] + b"run" + b"x" * 200 + idx[start + 3:end] + idx[end:], dat

    def entry_cut_short(idx, dat):
        # the last entry claims one meaning more than the file holds
        return idx, dat.replace(b"\nthesaurus|1\n", b"\nthesaurus|2\n", 1)

    def meaning_count_too_low(idx, dat):
        # "run" claims 3 of its 4 meanings: the 4th is read where a headword belongs
        return idx, dat.replace(b"\nrun|4\n", b"\nrun|3\n", 1)

    def entry_line_without_count(idx, dat):
        return idx, dat.replace(b"\ngo|1\n", b"\ngo|\n", 1)

    def meaning_count_huge(idx, dat):
        return idx, dat.replace(b"\ngo|1\n", b"\ngo|99999\n", 1)

    def entry_line_two_bars(idx, dat):
        # the count follows the first bar, as MyThes reads it: "99999999|1" is no count
        return idx, dat.replace(b"\nthesaurus|1\n", b"\nthesaurus|99999999|1\n", 1)

    def index_line_two_bars(idx, dat):
        # MyThes would take the offset after the first bar, byte 99999999
        start, end = idx_line(idx, b"thesaurus")
        return idx[:start] + b"thesaurus|99999999" + idx[start + len(b"thesaurus"):end] + idx[end:], dat

    def bad_entry_mid_file(idx, dat):
        # "run" loses its count in place: every other entry keeps its offset and answers
        return idx, dat.replace(b"\nrun|4\n", b"\nrun|x\n", 1)

    return {
        "bad-entry-mid-file": bad_entry_mid_file,
        "empty-dat": empty_dat,
        "empty-idx": empty_idx,
        "unknown-encoding": unknown_encoding,
        "count-too-high": count_too_high,
        "count-too-low": count_too_low,
        "count-missing": count_missing,
        "count-not-a-number": count_not_a_number,
        "offset-past-end": offset_past_end,
        "offset-mid-entry": offset_mid_entry,
        "offset-at-a-field": offset_at_a_field,
        "offset-other-word": offset_other_word,
        "offset-not-a-number": offset_not_a_number,
        "index-line-without-bar": index_line_without_bar,
        "index-line-too-long": index_line_too_long,
        "entry-cut-short": entry_cut_short,
        "meaning-count-too-low": meaning_count_too_low,
        "entry-line-without-count": entry_line_without_count,
        "meaning-count-huge": meaning_count_huge,
        "entry-line-two-bars": entry_line_two_bars,
        "index-line-two-bars": index_line_two_bars,
    }


def variant_cases(source):
    """Healthy pairs in the shapes real data comes in."""
    idx, dat = build(source)

    def empty_headword():
        # like th_uk_UA: a blank last line and an index line with no headword pointing at it
        d = dat + b"\n"
        i = idx.replace(b"\n%d\n" % declared(idx), b"\n%d\n|%d\n" % (declared(idx) + 1, len(d) - 1), 1)
        return i, d

    def no_final_newline():
        return idx, dat[:-1]

    def unsorted_index():
        # the index lines in reverse byte order: nothing promises MyThes's sorting
        head, count, *lines = idx.rstrip(b"\n").split(b"\n")
        return b"\n".join([head, count] + lines[::-1]) + b"\n", dat

    def no_entries():
        first = idx.index(b"\n") + 1
        return idx[:first] + b"0\n", dat

    return {
        "crlf": lambda: build(source, newline="\r\n"),
        "empty-headword": empty_headword,
        "no-final-newline": no_final_newline,
        "unsorted-index": unsorted_index,
        "no-entries": no_entries,
    }


ENCODING_FIXTURES = {
    # source file -> file base name in encodings/
    "cs_CZ.txt": "th_cs_CZ_v2",   # ISO8859-2
    "ru_RU.txt": "th_ru_RU_v2",   # KOI8-R
    "uk_UA.txt": "th_uk_UA_v2",   # CP-1251
    "de_DE.txt": "th_de_DE_v2",   # UTF-8 with a BOM in both files
    "fr_FR.txt": "th_fr_FR_v2",   # ISO8859-1
    "es_ES.txt": "th_es_ES_v2",   # ISO-8859-1
    "it_IT.txt": "th_it_IT_v2",   # utf-8
}

ANTONYM_FIXTURES = {
    # source file -> file base name in antonyms/: each language's antonym notes
    "is_IS.txt": "th_is_IS_v2",
    "pl_PL.txt": "th_pl_PL_v2",
    "ca_ES.txt": "th_ca_ES_v2",
    "es_ES_antonyms.txt": "th_es_ES_v2",
    "sl_SI.txt": "th_sl_SI_v2",
    "sk_SK.txt": "th_sk_SK_v2",
}


WORDFORMS_FIXTURES = ["en_US", "de_DE", "fr_FR"]  # wordforms/th_<locale>_v2, from src/wordforms_<locale>.txt


MEANINGS_FIXTURES = ["en_US", "fr_FR", "ru_RU", "de_DE"]  # meanings/th_<locale>_v2, from src/meanings_<locale>.txt


def rebuild_all():
    for locale in MEANINGS_FIXTURES:
        write(HERE / "meanings" / f"th_{locale}_v2", *build(HERE / "src" / f"meanings_{locale}.txt"))
    for locale in WORDFORMS_FIXTURES:
        write(HERE / "wordforms" / f"th_{locale}_v2", *build(HERE / "src" / f"wordforms_{locale}.txt"))
    source = HERE / "src" / "en_US.txt"
    idx, dat = build(source)
    write(HERE / "thesaurus" / "th_en_US_v2", idx, dat)
    for name, edit in damage_cases().items():
        broken_idx, broken_dat = edit(idx, dat)
        if (broken_idx, broken_dat) == (idx, dat):
            sys.exit(f"damage case {name} changed nothing")
        write(HERE / "damaged" / name / "th_en_US_v2", broken_idx, broken_dat)
    for name, make in variant_cases(source).items():
        write(HERE / "variants" / name / "th_en_US_v2", *make())
    for source_name, base in ENCODING_FIXTURES.items():
        write(HERE / "encodings" / base, *build(HERE / "src" / source_name))
    for source_name, base in ANTONYM_FIXTURES.items():
        write(HERE / "antonyms" / base, *build(HERE / "src" / source_name))


def main(argv):
    if len(argv) == 1:
        rebuild_all()
    elif len(argv) == 3:
        write(pathlib.Path(argv[2]), *build(pathlib.Path(argv[1])))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
