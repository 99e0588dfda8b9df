#!/usr/bin/env python3
"""Checks that a speech recogniser can follow the book's English recordings.

Decodes every English recording named in the content export (recordings.tsv)
with pocketsphinx and its US English model at 16 kHz mono, and measures the
word error rate of what it heard against the recording's own text. Prints a
table and fails when one recording or the book's mean is above its goal.

Names and invented words that the recogniser has no word for are listed in an
exceptions file (word, how many heard words it may stand for, reason); each
may be heard as anything and is not counted. An exception the recogniser does
know is refused, so the list cannot hide a badly spoken word.
"""

import argparse
import concurrent.futures
import hashlib
import os
import re
import shutil
import subprocess
import sys
import tempfile

MODEL_DIR = "/usr/share/pocketsphinx/model/en-us"
DICTIONARY = os.path.join(MODEL_DIR, "cmudict-en-us.dict")
LANGUAGE_MODEL = os.path.join(MODEL_DIR, "en-us.lm.bin")
HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_EXCEPTIONS = os.path.join(HERE, "speech_exceptions.tsv")


def normalise(text):
    """The words of a text as the recogniser writes them: lower case, no punctuation."""
    text = text.lower().replace("\u2019", "'").replace("\u2018", "'")
    words = re.sub(r"[^a-z0-9']+", " ", text).split()
    return [w.strip("'") for w in words if w.strip("'")]


def read_exceptions(path):
    """word -> (heard words it may stand for, reason)."""
    exceptions = {}
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            fields = line.split("\t")
            if len(fields) != 3 or not fields[1].isdigit() or not fields[2].strip():
                raise SystemExit("%s:%d: expected word, heard words, reason" % (path, number))
            exceptions[fields[0].lower()] = (int(fields[1]), fields[2])
    return exceptions


def dictionary_words(path):
    words = set()
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            head = line.split(" ", 1)[0]
            words.add(head.split("(", 1)[0])
    return words


def language_model_words(path):
    """The language model's vocabulary: the binary model ends with its words, NUL-separated."""
    with open(path, "rb") as f:
        f.seek(max(0, os.path.getsize(path) - 8 * 1024 * 1024))
        tail = f.read()
    tokens = tail.split(b"\0")
    if tokens and tokens[-1] == b"":
        tokens.pop()
    words = set()
    for token in reversed(tokens):
        if not re.fullmatch(rb"[\x21-\x7e]+", token):
            break
        words.add(token.decode("ascii"))
    if len(words) < 1000 or "the" not in words:
        raise SystemExit("check_speech: cannot read the vocabulary of %s" % path)
    return words


def refuse_known_exceptions(exceptions, dictionary, vocabulary):
    known = sorted(w for w in exceptions if w in dictionary and w in vocabulary)
    if known:
        raise SystemExit("check_speech: the recogniser knows these words, they cannot be "
                         "exceptions: " + ", ".join(known))


def align(reference, heard, exceptions):
    """Counts (substitutions, deletions, insertions, counted reference words).

    A minimum-edit alignment in which an exception word may take the place of
    up to its allowance of heard words (or none) at no cost.
    """
    rows, cols = len(reference) + 1, len(heard) + 1
    # cost[i][j]: (errors, substitutions, deletions, insertions) aligning the prefixes
    cost = [[None] * cols for _ in range(rows)]
    cost[0][0] = (0, 0, 0, 0)
    for j in range(1, cols):
        cost[0][j] = (j, 0, 0, j)

    def step(best, prev, s, d, i):
        candidate = (prev[0] + s + d + i, prev[1] + s, prev[2] + d, prev[3] + i)
        return candidate if best is None or candidate < best else best

    for i in range(1, rows):
        word = reference[i - 1]
        allowance = exceptions[word][0] if word in exceptions else None
        for j in range(cols):
            best = None
            if allowance is not None:
                for n in range(0, min(allowance, j) + 1):
                    best = step(best, cost[i - 1][j - n], 0, 0, 0)
            else:
                best = step(best, cost[i - 1][j], 0, 1, 0)
                if j > 0:
                    same = heard[j - 1] == word
                    best = step(best, cost[i - 1][j - 1], 0 if same else 1, 0, 0)
            if j > 0:
                best = step(best, cost[i][j - 1], 0, 0, 1)
            cost[i][j] = best
    _, subs, dels, ins = cost[-1][-1]
    counted = sum(1 for w in reference if w not in exceptions)
    return subs, dels, ins, counted


def word_error_rate(subs, dels, ins, counted):
    errors = subs + dels + ins
    if counted == 0:
        return 0.0 if errors == 0 else float(errors)
    return errors / counted


def read_english_recordings(content_dir):
    table = os.path.join(content_dir, "recordings.tsv")
    recordings = []
    with open(table, encoding="utf-8") as f:
        for line in f:
            fields = line.rstrip("\n").split("\t")
            if len(fields) == 3 and fields[1] == "en":
                with open(os.path.join(content_dir, fields[2]), encoding="utf-8") as t:
                    recordings.append((fields[0], " ".join(t.read().split())))
    return recordings


def find_recording(name, folders):
    for folder in folders:
        if folder and os.path.exists(os.path.join(folder, name + ".mp3")):
            return os.path.join(folder, name + ".mp3")
    return None


def decode(path, work):
    """What the recogniser hears in one recording, as lower-case words."""
    stem = hashlib.sha256(path.encode("utf-8")).hexdigest()[:16]
    wav = os.path.join(work, stem + ".wav")
    subprocess.run(["sox", "-R", path, "-r", "16000", "-c", "1", "-b", "16", "-e", "signed", wav],
                   check=True, stderr=subprocess.PIPE)
    result = subprocess.run(["pocketsphinx_continuous", "-infile", wav, "-hmm",
                             os.path.join(MODEL_DIR, "en-us"), "-lm", LANGUAGE_MODEL, "-dict",
                             DICTIONARY, "-logfn", os.devnull],
                            check=True, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    return normalise(result.stdout.decode("utf-8", errors="replace"))


def file_digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--content", required=True, help="content export folder")
    parser.add_argument("--assets", required=True, help="folder of the built recordings")
    parser.add_argument("--source-assets", help="folder whose recordings replace built ones")
    parser.add_argument("--exceptions", default=DEFAULT_EXCEPTIONS)
    parser.add_argument("--max-wer", type=float, default=0.35, help="goal for each recording")
    parser.add_argument("--max-mean", type=float, default=0.25, help="goal for the book's mean")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--show-heard", action="store_true", help="print every hypothesis")
    args = parser.parse_args()

    for tool in ("sox", "pocketsphinx_continuous"):
        if not shutil.which(tool):
            raise SystemExit("check_speech: %s is not installed" % tool)
    exceptions = read_exceptions(args.exceptions)
    refuse_known_exceptions(exceptions, dictionary_words(DICTIONARY),
                            language_model_words(LANGUAGE_MODEL))
    recordings = read_english_recordings(args.content)
    if not recordings:
        raise SystemExit("check_speech: no English recordings in %s" % args.content)

    paths = {}
    for name, _ in recordings:
        path = find_recording(name, [args.source_assets, args.assets])
        if path is None:
            raise SystemExit("check_speech: recording %s is missing" % name)
        paths[name] = path
    # Identical files are heard identically: decode each distinct one once.
    digests = {name: file_digest(path) for name, path in paths.items()}
    distinct = {digest: paths[name] for name, digest in digests.items()}
    with tempfile.TemporaryDirectory(prefix="check_speech-") as work:
        with concurrent.futures.ThreadPoolExecutor(max_workers=max(1, args.jobs)) as pool:
            heard = dict(zip(distinct, pool.map(lambda p: decode(p, work), distinct.values())))

    print("%-14s %5s %4s %4s %4s %6s" % ("recording", "words", "sub", "del", "ins", "WER"))
    rates = []
    failed = []
    for name, text in recordings:
        reference = normalise(text)
        words = heard[digests[name]]
        subs, dels, ins, counted = align(reference, words, exceptions)
        rate = word_error_rate(subs, dels, ins, counted)
        rates.append(rate)
        over = rate > args.max_wer
        print("%-14s %5d %4d %4d %4d %6.2f%s" % (name, counted, subs, dels, ins, rate,
                                                 "  above goal" if over else ""))
        if over or args.show_heard:
            print("    text:  " + " ".join(reference))
            print("    heard: " + " ".join(words))
        if over:
            failed.append(name)
    mean = sum(rates) / len(rates)
    print("%d English recordings, mean WER %.3f (goal %.2f), worst %.2f (goal %.2f each)" %
          (len(rates), mean, args.max_mean, max(rates), args.max_wer))
    if failed or mean > args.max_mean:
        print("check_speech: FAILED: %s" %
              (", ".join(failed) if failed else "the mean is above its goal"), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
