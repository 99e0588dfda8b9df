#!/usr/bin/env python3
"""Compares Russian voices on the book's own lines, for choosing the narrator.

No Russian speech recogniser ships with Debian, so each voice is judged by what
can be measured: the stress each synthesiser's own phoneme output puts on the
book's names and on words with "ё", the syllables it speaks against the
text's, clipping, pauses at punctuation, pitch range and time per syllable.
Prints one table; run it by hand (it is not part of the build, and Festival's
Russian voice, Debian's festvox-ru, is installed only for it):

    tools/compare_russian_voices.py --content build/content
"""

import argparse
import array
import math
import operator
import os
import re
import statistics
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_audio  # noqa: E402  (the generator's own engines)

VOWELS = "аеёиоуыэюя"
# The stressed vowel (counted from 0) of the forms of the book's names.
NAMES = {
    "рыжик": 0, "рыжика": 0, "рыжику": 0, "рыжиком": 0,
    "бублик": 0, "бублика": 0, "бублику": 0, "бубликом": 0,
    "пуговка": 0, "пуговкой": 0, "пуговке": 0, "пуговку": 0,
    "хома": 1, "хомы": 1, "хоме": 1, "хому": 1, "хомой": 1,
    "гоша": 0, "гоши": 0, "гоше": 0, "гошу": 0, "гошей": 0,
    "мама": 0, "мамы": 0, "маме": 0, "маму": 0, "мамой": 0, "мамочка": 0,
}
VOICES = {
    "espeak-ng ru+f5": dict(make_audio.NARRATOR["ru"], engine="espeak-ng", voice="ru+f5"),
    "espeak-ng ru": dict(make_audio.NARRATOR["ru"], engine="espeak-ng", voice="ru"),
    "Festival msu_ru_nsh": {"engine": "festival", "voice": "msu_ru_nsh_clunits", "stretch": 1.0,
                            "pause": 0.0},
}
# A run of marks (with the spaces and quotes between them) is one place to pause.
PUNCTUATION = re.compile(r"[,.!?:;\u2026\u2014][\s,.!?:;\u2026\u2014\u00ab\u00bb]*")


def words_of(text):
    return re.findall(r"[а-яё]+", text.lower())


def expected_stress(word):
    if word in NAMES:
        return NAMES[word]
    if "ё" in word:
        return [c for c in word if c in VOWELS].index("ё")
    return None


def espeak_stress(word, voice):
    """The stressed syllable in espeak-ng's phonemes ("@-" is a glide, not a vowel)."""
    word = make_audio.espeak_text(word)  # as the generator gives it
    phonemes = subprocess.run(["espeak-ng", "-v", voice, "-q", "-x", word], check=True,
                              stdout=subprocess.PIPE).stdout.decode().strip()
    phonemes = phonemes.replace("@-", "-")
    vowels = 0
    for c in phonemes:
        if c == "'":
            return vowels
        if c in "aAeEiIoOuUyYV8@":
            vowels += 1
    return None


FESTIVAL_STRESS = """
(voice_%s)
(mapcar (lambda (text)
  (mapcar (lambda (w)
    (let ((n 0) (stressed -1))
      (mapcar (lambda (syl)
                (if (equal? (item.feat syl "stress") 1) (set! stressed n))
                (set! n (+ n 1)))
              (item.daughters (item.relation w 'SylStructure)))
      (format t "%%s\\t%%d\\t%%d\\n" (item.name w) stressed n)))
    (utt.relation.items (SynthText text) 'Word)))
  (load "%s" t))
"""


def festival_stress(words, voice, work):
    """word -> (stressed syllable, syllables) from Festival's own syllable structure."""
    listing = os.path.join(work, "words.lst")
    script = os.path.join(work, "stress.scm")
    with open(listing, "w", encoding="utf-8") as f:
        f.write(" ".join('"%s"' % w for w in words))
    with open(script, "w", encoding="utf-8") as f:
        f.write(FESTIVAL_STRESS % (voice, listing))
    out = subprocess.run(["festival", "-b", script], check=True,
                         stdout=subprocess.PIPE).stdout.decode()
    result = {}
    for line, word in zip(out.splitlines(), words):
        _, stressed, _ = line.split("\t")
        result[word] = int(stressed)
    return result


def stress_score(lines, settings, work):
    counted = [w for text in lines for w in words_of(text) if expected_stress(w) is not None]
    distinct = sorted(set(counted))
    if settings["engine"] == "festival":
        got = festival_stress(distinct, settings["voice"], work)
    else:
        got = {w: espeak_stress(w, settings["voice"]) for w in distinct}
    wrong = sorted(w for w in distinct if got[w] != expected_stress(w))
    right = sum(1 for w in counted if w not in wrong)
    return right, len(counted), wrong


def samples(path, rate):
    raw = subprocess.run(["sox", path, "-r", str(rate), "-c", "1", "-b", "16", "-e", "signed",
                          "-t", "raw", "-"], check=True, stdout=subprocess.PIPE).stdout
    return array.array("h", raw)


def frames_rms(x, size):
    out = []
    for i in range(0, len(x) - size, size):
        frame = x[i:i + size]
        out.append((sum(map(operator.mul, frame, frame)) / size) ** 0.5)
    return out


def speech_and_pauses(x, rate):
    """Speech time (first to last sound) and pauses of at least 120 ms inside it."""
    frame = rate // 100
    rms = frames_rms(x, frame)
    loud = max(rms) if rms else 0
    voiced = [r > loud * 0.02 for r in rms]  # 34 dB under the loudest 10 ms
    if not any(voiced):
        return 0.0, []
    first = voiced.index(True)
    last = len(voiced) - 1 - voiced[::-1].index(True)
    pauses, run = [], 0
    for v in voiced[first:last + 1]:
        if v:
            if run >= 12:
                pauses.append(run / 100)
            run = 0
        else:
            run += 1
    return (last - first + 1) / 100, pauses


def pitch_track(x, rate):
    """F0 in Hz of the clearly voiced 40 ms frames (normalised autocorrelation)."""
    size, hop = int(rate * 0.04), int(rate * 0.02)
    low, high = rate // 500, rate // 70
    f0 = []
    for i in range(0, len(x) - size - high, hop):
        frame = x[i:i + size]
        energy = sum(map(operator.mul, frame, frame))
        if energy < size * 200 ** 2:
            continue
        best, best_lag = 0.0, 0
        for lag in range(low, high):
            other = x[i + lag:i + lag + size]
            c = sum(map(operator.mul, frame, other))
            norm = (energy * sum(map(operator.mul, other, other))) ** 0.5
            if norm and c / norm > best:
                best, best_lag = c / norm, lag
        if best > 0.75:
            f0.append(rate / best_lag)
    return f0


def semitones(high, low):
    return 12 * math.log2(high / low)


def acoustic(lines, settings, work):
    clipped = total = syllables = 0
    speech = 0.0
    pauses, marks, f0 = [], 0, []
    for n, text in enumerate(lines):
        raw = os.path.join(work, "raw%d.wav" % n)
        speak = make_audio.ENGINES[settings["engine"]]
        speak(text, settings, raw, work)
        native = samples(raw, int(float(subprocess.run(
            ["sox", "--i", "-r", raw], check=True, stdout=subprocess.PIPE).stdout)))
        clipped += sum(1 for s in native if s >= 32760 or s <= -32760)
        total += len(native)
        full = samples(raw, 16000)
        seconds, found = speech_and_pauses(full, 16000)
        speech += seconds
        pauses += found
        # Marks inside the line (the last one ends it and needs no pause).
        marks += len(PUNCTUATION.findall(text.rstrip(" .!?\u2026\u00bb")))
        syllables += sum(1 for c in text.lower() if c in VOWELS)
        f0 += pitch_track(samples(raw, 8000), 8000)
    f0.sort()
    p10, p50, p90 = (f0[int(len(f0) * q)] for q in (0.1, 0.5, 0.9))
    return {
        "clipped": clipped / max(1, total),
        "pauses": len(pauses), "marks": marks,
        "pause_mean": statistics.mean(pauses) if pauses else 0.0,
        "per_syllable": speech / syllables,
        "f0": (p10, p50, p90), "range": semitones(p90, p10),
    }


def read_lines(content, pattern):
    lines = []
    with open(os.path.join(content, "recordings.tsv"), encoding="utf-8") as f:
        for row in f:
            name, voice, text_file = row.rstrip("\n").split("\t")
            if voice == "ru" and re.fullmatch(pattern, name):
                with open(os.path.join(content, text_file), encoding="utf-8") as t:
                    lines.append(" ".join(t.read().split()))
    return lines


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--content", required=True, help="content export folder")
    parser.add_argument("--lines", default=r"QRB_p\d+_ru",
                        help="regular expression of the recording names to speak")
    parser.add_argument("--voice", default="", help="compare only voices whose label has this")
    args = parser.parse_args()
    lines = read_lines(args.content, args.lines)
    print("%d lines, %d syllables" % (len(lines),
                                       sum(c in VOWELS for t in lines for c in t.lower())))
    for label, settings in VOICES.items():
        if args.voice not in label:
            continue
        with tempfile.TemporaryDirectory(prefix="compare-") as work:
            right, counted, wrong = stress_score(lines, settings, work)
            a = acoustic(lines, settings, work)
        print("%s:\n  stress on names and ё-words %d/%d right%s" %
              (label, right, counted, (" (wrong: %s)" % ", ".join(wrong)) if wrong else ""))
        print("  clipped samples %.4f%%; pauses of 120 ms or more %d for %d inner punctuation "
              "marks, mean %.2f s" % (100 * a["clipped"], a["pauses"], a["marks"],
                                       a["pause_mean"]))
        print("  pitch 10/50/90%% %.0f/%.0f/%.0f Hz, range %.1f semitones; %.3f s per syllable" %
              (a["f0"] + (a["range"], a["per_syllable"])))
    return 0


if __name__ == "__main__":
    sys.exit(main())
