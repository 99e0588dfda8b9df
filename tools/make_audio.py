#!/usr/bin/env python3
"""Speaks the book's recordings and synthesises its music.

Reads the content export (recordings.tsv: name, voice, text file) and writes
<name>.mp3 for each recording into the output folder, plus the looping music
"background.mp3" and the page effect "b_snore.mp3". Every narration also gets
"<name>.words": one line for each word of its text, in order, the word's start
in the recording in seconds, a tab and the word, as the synthesiser placed it.
A word of a text is a run of non-space characters holding a letter or a digit. A manifest of
hashes in the build folder lets unchanged recordings be skipped, so a rebuild
after a text change only speaks that text again. A recording placed in the
source assets folder under the same name wins: no generated copy is written
for it.

A book other than the built-in one names its own figures' voices (--voices
FILE: a JSON object, figure letter -> {"ru": espeak-ng settings, "en": changes
to the English narrator's settings}) and has no music of the program's to make
(--no-music).

Tools: Festival with the HTS voice cmu_us_slt_arctic_hts (English speech),
espeak-ng (Russian speech; narrations through speak_words, built from
speak_words.c, which reports where each word starts), rubberband (the English
figures' pitch), sox (filtering, synthesis), lame (mp3).
"""

import argparse
import concurrent.futures
import hashlib
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

# Bumped whenever the processing below changes in a way that alters the sound.
RECIPE_VERSION = "5"

# Narration in each reading language. English is Festival's HTS voice: an
# independent recogniser follows it far better than espeak-ng's English. Its
# calm pace comes from a pause between sentences, not from slowing the words:
# the HTS engine ignores Festival's Duration_Stretch, and its own speed rate
# (used here as 1 / stretch) at 1.05 to 1.3 made some pages harder to follow.
NARRATOR = {
    "ru": {"engine": "espeak-ng", "voice": "ru+f5", "speed": 135, "pitch": 40, "gap": 2},
    "en": {"engine": "festival", "voice": "cmu_us_slt_arctic_hts", "stretch": 1.0,
           "pause": 0.5},
}

# Dialogue voices by the figure letter in the recording name
# ("dialogue_page2_m1_ru": figure "m"), so each figure keeps its voice.
FIGURES = {
    "r": {"engine": "espeak-ng", "voice": "ru+f5", "speed": 150, "pitch": 70, "gap": 1},  # hero
    "b": {"engine": "espeak-ng", "voice": "ru+m3", "speed": 135, "pitch": 30, "gap": 1},  # bear
    "m": {"engine": "espeak-ng", "voice": "ru+f2", "speed": 140, "pitch": 45, "gap": 1},  # mother
    "p": {"engine": "espeak-ng", "voice": "ru+f1", "speed": 150, "pitch": 80, "gap": 1},
    "h": {"engine": "espeak-ng", "voice": "ru+m1", "speed": 130, "pitch": 35, "gap": 1},
    "g": {"engine": "espeak-ng", "voice": "ru+f3", "speed": 140, "pitch": 60, "gap": 1},
}
DEFAULT_FIGURE = {"engine": "espeak-ng", "voice": "ru+f4", "speed": 140, "pitch": 55, "gap": 1}

# The English dialogue: the narrator's voice made into each figure. Its pitch
# is moved with the formants kept ("reshape": rubberband's options) and its
# pace set by the HTS engine ("stretch"); sox effects follow ("effects"): a
# little "speed" lowers the formants too, for a bigger body, and the gosling's
# voice wavers. Festival's other voices in Debian and moving the formants by
# more than a semitone or so leave the recogniser (and a child) unable to
# follow the words.
_SLT = dict(NARRATOR["en"], pause=0.3)
FIGURES_EN = {
    "r": dict(_SLT, stretch=0.95, reshape=["-3", "-F", "-p", "3"]),
    "b": dict(_SLT, stretch=1.15, reshape=["-3", "-F", "-p", "-6"], effects=["speed", "0.95"]),
    "m": dict(_SLT, stretch=1.1, reshape=["-3", "-F", "-p", "-2"]),
    "p": dict(_SLT, stretch=0.85, reshape=["-3", "-F", "-p", "6"]),
    "h": dict(_SLT, stretch=0.95, reshape=["-3", "-F", "-p", "-4"], effects=["speed", "0.97"]),
    "g": dict(_SLT, stretch=1.1, reshape=["-3", "-F", "-p", "4"], effects=["tremolo", "5", "25"]),
}
DEFAULT_FIGURE_EN = _SLT

# Speech is encoded mono at 22.05 kHz, plenty for a voice and small.
SPEECH_RATE = 22050
SPEECH_BITRATE = 48
MUSIC_RATE = 44100
# Silence added before and after the voice, in seconds.
LEAD_IN = 0.15
LEAD_OUT = 0.35


def add_voices(path):
    """Figures' voices from a JSON file: letter -> {"ru": settings, "en": changes to the
    English narrator's}; a letter the built-in cast uses is given the new voice."""
    with open(path, encoding="utf-8") as f:
        voices = json.load(f)
    for letter, settings in voices.items():
        if "ru" in settings:
            FIGURES[letter] = dict(DEFAULT_FIGURE, **settings["ru"])
        if "en" in settings:
            FIGURES_EN[letter] = dict(_SLT, **settings["en"])


def settings_for(name, voice):
    if name.startswith("dialogue_"):
        parts = name.split("_")
        figure = parts[2][:1] if len(parts) > 2 else ""
        if voice == "en":
            return FIGURES_EN.get(figure, DEFAULT_FIGURE_EN)
        return FIGURES.get(figure, DEFAULT_FIGURE)
    return NARRATOR[voice]


def is_narration(name):
    return not name.startswith("dialogue_")


# sox dithers with random noise; repeatable mode seeds it, so the same recipe
# gives the same bytes (and the recogniser check the same result) every build.
SOX = ["sox", "-R"]


def run(cmd):
    result = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    if result.returncode != 0:
        raise RuntimeError(" ".join(cmd) + ": " + result.stderr.decode(errors="replace").strip())
    return result.stdout.decode("utf-8", errors="replace")


# Words espeak-ng stresses wrongly, given to it as phonemes: the hamster is
# Хома́, and "Рыжику" keeps the name's first-syllable stress.
ESPEAK_RESPELLINGS = {"хома": "[[xVm'a]]", "рыжику": "[[@-r'yZyku]]"}


def espeak_text(text):
    return re.sub(r"\w+", lambda m: ESPEAK_RESPELLINGS.get(m.group(0).lower(), m.group(0)), text)


# The word timer (speak_words, set from the command line): the same library
# as the espeak-ng command, so the same sound, plus each word's start.
SPEAK_WORDS = None


def text_words(text):
    """(first character, end) of each word of a text: a run of non-space
    characters holding a letter or a digit."""
    return [(m.start(), m.end()) for m in re.finditer(r"\S+", text)
            if any(c.isalnum() for c in m.group(0))]


def espeak_words(events, spoken, text):
    """(start, word) for each word of `text` from speak_words' events
    (milliseconds, character offset, length) over `spoken`, the text as
    espeak-ng got it. Respelling keeps the spaces, so the n-th run of
    non-space characters is the same in both; a run spoken as several words
    ("иду-иду") starts with its first."""
    runs = [(m.start(), m.end()) for m in re.finditer(r"\S+", spoken)]
    originals = [(m.start(), m.end()) for m in re.finditer(r"\S+", text)]
    if len(runs) != len(originals):
        raise RuntimeError("respelling changed the words of the text")
    starts = {}
    for line in events:
        # A word before a closing mark may come with no length; a clause end
        # comes the same way but points between words, and matches no run.
        ms, offset, _ = (int(field) for field in line.split("\t"))
        for i, (begin, end) in enumerate(runs):
            if begin <= offset < end:
                starts.setdefault(i, ms / 1000.0)
                break
    words = []
    for i, (begin, end) in enumerate(originals):
        token = text[begin:end]
        if not any(c.isalnum() for c in token):
            continue
        word = token.strip("".join(c for c in token if not c.isalnum()))
        if i not in starts:
            raise RuntimeError("espeak-ng gave no time for the word '%s'" % word)
        words.append((starts[i], word))
    return words


def speak_espeak(text, settings, raw, work, timed=False):
    """Speaks with espeak-ng; with `timed`, returns the word timings."""
    text_file = os.path.join(work, "text.txt")
    spoken = espeak_text(text)
    with open(text_file, "w", encoding="utf-8") as f:
        f.write(spoken)
    voice = ["-v", settings["voice"], "-s", str(settings["speed"]), "-p", str(settings["pitch"]),
             "-g", str(settings["gap"])]
    if not timed:
        run(["espeak-ng"] + voice + ["-b", "1", "-f", text_file, "-w", raw])
        return None
    if not SPEAK_WORDS:
        raise RuntimeError("timing a Russian narration needs --speak-words")
    return espeak_words(run([SPEAK_WORDS] + voice + [text_file, raw]).splitlines(), spoken, text)


# Festival reads bytes: typographic marks would be spelled out letter by
# letter, and its Russian letter-to-sound rules know no quotes or dashes. So
# quotes go, a dash becomes a comma on the word before it, and an ellipsis
# becomes three dots (it still makes a pause).
FESTIVAL_MARKS = str.maketrans({"\u2018": "'", "\u2019": "'", "\u201c": None, "\u201d": None,
                                "\u00ab": None, "\u00bb": None, '"': None, "\u2026": "..."})


def festival_text(text):
    return re.sub(r"\s*[\u2013\u2014]\s*", ", ", text.translate(FESTIVAL_MARKS)).strip()


# Speaks a text file utterance by utterance (Festival splits it at sentence
# ends) into numbered waves, and writes each word's utterance, start and name.
FESTIVAL_SCRIPT = """
(voice_%(voice)s)
(set! hts_engine_params (append hts_engine_params (list (list "-r" %(rate).4f))))
(set! lumo_words_fp (fopen "%(words)s" "w"))
(set! lumo_count 0)
(define (lumo_collect utt)
  (utt.save.wave utt (format nil "%(wavs)s%%03d.wav" lumo_count) 'riff)
  (mapcar
   (lambda (w)
     (format lumo_words_fp "%%d\\t%%f\\t%%s\\n" lumo_count
             (item.feat w "R:SylStructure.daughter1.daughter1.R:Segment.p.end") (item.name w)))
   (utt.relation.items utt 'Word))
  (set! lumo_count (+ lumo_count 1)))
(set! tts_hooks (list utt.synth lumo_collect))
(tts_file "%(text)s" nil)
(fclose lumo_words_fp)
"""


def festival_words(lines, offsets):
    """(start, word) from the script's output, each utterance moved to its
    offset. Festival splits "let's" into "let" and "'s", and gives
    punctuation-only tokens no sound; both are folded away."""
    words = []
    for line in lines:
        utterance, start, word = line.rstrip("\n").split("\t", 2)
        if not any(c.isalnum() for c in word):
            continue
        if word.startswith("'") and words:
            words[-1] = (words[-1][0], words[-1][1] + word)
            continue
        words.append((offsets[int(utterance)] + float(start), word))
    return words


def speak_festival(text, settings, raw, work, timed=False):
    """Speaks with Festival, a calm pause between sentences; returns the word timings."""
    text_file = os.path.join(work, "text.txt")
    words_file = os.path.join(work, "words.txt")
    script = os.path.join(work, "speak.scm")
    prefix = os.path.join(work, "utterance")
    with open(text_file, "w", encoding="utf-8") as f:
        f.write(festival_text(text) + "\n")
    with open(script, "w", encoding="utf-8") as f:
        f.write(FESTIVAL_SCRIPT % {"voice": settings["voice"], "rate": 1.0 / settings["stretch"],
                                   "wavs": prefix, "words": words_file, "text": text_file})
    run(["festival", "-b", script])
    waves = sorted(os.path.join(work, f) for f in os.listdir(work) if f.startswith("utterance"))
    if not waves:
        raise RuntimeError("festival spoke nothing")
    rate = run(["sox", "--i", "-r", waves[0]]).strip()
    pause = os.path.join(work, "pause.wav")
    run(SOX + ["-n", "-r", rate, "-c", "1", "-b", "16", pause, "trim", "0",
         str(settings["pause"])])
    offsets, at, parts = [], 0.0, []
    for wave in waves:
        offsets.append(at)
        at += float(run(["sox", "--i", "-D", wave])) + settings["pause"]
        parts += [pause, wave] if parts and settings["pause"] > 0 else [wave]
    run(SOX + parts + [raw])
    with open(words_file, encoding="utf-8") as f:
        return festival_words(f, offsets)


ENGINES = {"espeak-ng": speak_espeak, "festival": speak_festival}
ENGINE_TEXT = {"espeak-ng": espeak_text, "festival": festival_text}
def check_words(words, duration, text=None):
    """Word times must be usable by a reader: one for each word of the text,
    in order and inside the recording."""
    if not words:
        raise RuntimeError("no word timings")
    if text is not None and len(words) != len(text_words(text)):
        raise RuntimeError("%d word timings for the %d words of the text" %
                           (len(words), len(text_words(text))))
    for (before, _), (after, word) in zip(words, words[1:]):
        if after < before:
            raise RuntimeError("word timings go backwards at '%s' (%.3f < %.3f)" %
                               (word, after, before))
    if words[-1][0] >= duration:
        raise RuntimeError("the last word starts at %.3f, after the recording ends (%.3f)" %
                           (words[-1][0], duration))


def write_words(words, path):
    tmp = path + ".part"
    with open(tmp, "w", encoding="utf-8") as f:
        for start, word in words:
            f.write("%.3f\t%s\n" % (start, word))
    os.replace(tmp, path)


def speak(text, settings, out_path, words_path, work):
    raw = os.path.join(work, "raw.wav")
    soft = os.path.join(work, "soft.wav")
    if words_path and settings.get("effects"):
        raise RuntimeError("sox effects after the voice would move its word timings")
    words = ENGINES[settings["engine"]](text, settings, raw, work, timed=words_path is not None)
    if settings.get("reshape"):
        # The pitch moved with the formants kept: the figure's voice, the
        # same words (moving the formants too is what makes speech hard to follow).
        shaped = os.path.join(work, "shaped.wav")
        run(["rubberband", "--quiet"] + settings["reshape"] + [raw, shaped])
        raw = shaped
    # Take the edge off the synthetic voice, even out the level and leave a
    # breath of silence at both ends.
    run(SOX + [raw, "-r", str(SPEECH_RATE), soft] + settings.get("effects", []) +
        ["highpass", "90", "lowpass", "6500", "bass", "+2", "gain", "-n", "-3", "pad", str(LEAD_IN),
         str(LEAD_OUT)])
    if words_path and words is not None:
        words = [(start + LEAD_IN, word) for start, word in words]
        check_words(words, float(run(["sox", "--i", "-D", soft])), text)
        write_words(words, words_path)
    encode(soft, out_path, ["-m", "m", "-b", str(SPEECH_BITRATE)])


def encode(wav, out_path, options):
    tmp = out_path + ".part"
    run(["lame", "--quiet", "--noreplaygain"] + options + [wav, tmp])
    os.replace(tmp, out_path)


# ---------------------------------------------------------------- music

# A slow lullaby waltz in C major: 16 bars of 3/4 at 80 beats a minute.
BEAT = 0.75
MELODY = [  # (note, beats)
    ("E5", 2), ("G5", 1), ("E5", 2), ("D5", 1), ("C5", 2), ("D5", 1), ("E5", 3),
    ("D5", 2), ("E5", 1), ("F5", 2), ("E5", 1), ("D5", 3), ("G4", 3),
    ("E5", 2), ("G5", 1), ("A5", 2), ("G5", 1), ("F5", 2), ("E5", 1), ("D5", 3),
    ("C5", 2), ("D5", 1), ("E5", 2), ("D5", 1), ("C5", 3), ("C5", 3),
]
CHORDS = [  # one per bar
    ("C3", "G3", "E4"), ("C3", "G3", "E4"), ("F2", "C3", "A3"), ("C3", "G3", "E4"),
    ("G2", "D3", "B3"), ("G2", "D3", "B3"), ("G2", "D3", "F3"), ("G2", "D3", "B3"),
    ("C3", "G3", "E4"), ("A2", "E3", "C4"), ("F2", "C3", "A3"), ("G2", "D3", "B3"),
    ("C3", "G3", "E4"), ("G2", "D3", "B3"), ("C3", "G3", "E4"), ("C3", "G3", "E4"),
]
BAR = 3 * BEAT
LOOP_SECONDS = len(CHORDS) * BAR  # 36 s


def synth_sequence(out, notes, voice_args, fade_in, fade_out, work, tag):
    """Renders notes one after another, each faded in and out to silence."""
    parts = []
    for i, (note, seconds) in enumerate(notes):
        part = os.path.join(work, "%s%03d.wav" % (tag, i))
        if isinstance(note, tuple):
            tones = []
            for n in note:
                tones += voice_args + [n]
        else:
            tones = voice_args + [note]
        run(SOX + ["-n", "-r", str(MUSIC_RATE), "-c", "1", part, "synth", "%.4f" % seconds]
            + tones + ["fade", "q", "%.3f" % fade_in, "%.4f" % seconds, "%.3f" % fade_out,
                       "gain", "-n", "-6"])
        parts.append(part)
    run(SOX + parts + [out])


def make_background(out_path, work):
    melody = os.path.join(work, "melody.wav")
    pads = os.path.join(work, "pads.wav")
    synth_sequence(melody, [(n, b * BEAT) for n, b in MELODY], ["pluck"], 0.01, 0.6, work, "m")
    synth_sequence(pads, [(c, BAR) for c in CHORDS], ["sine"], 0.5, 0.7, work, "p")
    mixed = os.path.join(work, "mixed.wav")
    run(SOX + ["-m", "-v", "0.9", melody, "-v", "0.5", pads, mixed])
    # Render two rounds through the reverb and keep the second: its start then
    # carries the first round's tail, so the loop point is seamless.
    twice = os.path.join(work, "twice.wav")
    run(SOX + [mixed, mixed, twice, "reverb", "40", "50", "70", "remix", "-", "lowpass", "5000",
         "gain", "-n", "-4"])
    loop = os.path.join(work, "loop.wav")
    run(SOX + [twice, "-r", str(MUSIC_RATE), loop, "trim", "%.4f" % LOOP_SECONDS,
         "%.4f" % LOOP_SECONDS])
    encode(loop, out_path, ["-m", "m", "-b", "64"])


def make_snore(out_path, work):
    """Two slow breaths, in with a low rumble and out with a soft whistle."""
    inhale = os.path.join(work, "in.wav")
    exhale = os.path.join(work, "out.wav")
    rest = os.path.join(work, "rest.wav")
    run(SOX + ["-n", "-r", str(MUSIC_RATE), "-c", "1", inhale, "synth", "1.6", "brownnoise",
         "synth", "1.6", "sine", "amod", "32", "60", "lowpass", "400", "fade", "q", "0.6", "1.6",
         "0.5", "gain", "-n", "-8"])
    run(SOX + ["-n", "-r", str(MUSIC_RATE), "-c", "1", exhale, "synth", "1.4", "pinknoise",
         "bandpass", "900", "300h", "fade", "q", "0.3", "1.4", "0.9", "gain", "-n", "-16"])
    run(SOX + ["-n", "-r", str(MUSIC_RATE), "-c", "1", rest, "trim", "0", "0.8"])
    loop = os.path.join(work, "snore.wav")
    run(SOX + [inhale, exhale, rest, loop])
    encode(loop, out_path, ["-m", "m", "-b", "48"])


MUSIC = {"background": make_background, "b_snore": make_snore}


# ---------------------------------------------------------------- build


def digest(*parts):
    h = hashlib.sha256()
    for p in parts:
        h.update(p.encode("utf-8"))
        h.update(b"\0")
    return h.hexdigest()


def read_recordings(content_dir):
    table = os.path.join(content_dir, "recordings.tsv")
    recordings = []
    with open(table, encoding="utf-8") as f:
        for line_number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line:
                continue
            fields = line.split("\t")
            if len(fields) != 3 or fields[1] not in NARRATOR:
                raise SystemExit("%s:%d: expected name, ru|en, text file" % (table, line_number))
            name, voice, text_file = fields
            with open(os.path.join(content_dir, text_file), encoding="utf-8") as t:
                text = " ".join(t.read().split())
            recordings.append((name, voice, text))
    return recordings


def music_recipe():
    source = open(os.path.abspath(__file__), encoding="utf-8").read()
    start = source.index("# ---------------------------------------------------------------- music")
    end = source.index("# ---------------------------------------------------------------- build")
    return source[start:end]


class Job:
    """One output: its manifest key, how to make it, whether it has word timings."""

    def __init__(self, key, make, words):
        self.key = key
        self.make = make  # make(mp3 path, words path or None, work folder)
        self.words = words


def remove_quietly(*paths):
    for path in paths:
        try:
            os.remove(path)
        except OSError:
            pass


def copy_over(source, target):
    tmp = target + ".part"
    shutil.copyfile(source, tmp)
    os.replace(tmp, target)


def cached_paths(cache, key):
    return os.path.join(cache, key + ".mp3"), os.path.join(cache, key + ".words")


def in_cache(cache, job):
    if not cache:
        return False
    cached_mp3, cached_words = cached_paths(cache, job.key)
    return os.path.exists(cached_mp3) and (not job.words or os.path.exists(cached_words))


def take_from_cache(cache, job, mp3, words):
    """The key is the hash of the text and the whole recipe, so a hit is the same output."""
    if not in_cache(cache, job):
        return False
    cached_mp3, cached_words = cached_paths(cache, job.key)
    copy_over(cached_mp3, mp3)
    if job.words:
        copy_over(cached_words, words)
    return True


def keep_in_cache(cache, job, mp3, words):
    # The cache only saves time: a failure to fill it never fails the build.
    if not cache:
        return
    try:
        os.makedirs(cache, exist_ok=True)
        cached_mp3, cached_words = cached_paths(cache, job.key)
        if job.words:
            copy_over(words, cached_words)
        copy_over(mp3, cached_mp3)
    except OSError as error:
        print("make_audio: warning: recording not kept in the cache: %s" % error, file=sys.stderr)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--content", help="content export folder (recordings.tsv, text/)")
    parser.add_argument("--out", required=True, help="folder for the mp3 files")
    parser.add_argument("--manifest", required=True, help="hash manifest (JSON)")
    parser.add_argument("--source-assets", help="folder whose recordings replace generated ones")
    parser.add_argument("--speak-words", help="the word timer for Russian narrations")
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    parser.add_argument("--cache", help="folder of recordings kept by their hash, shared by "
                        "build folders, so a second build type speaks nothing again")
    parser.add_argument("--voices", help="the figures' voices of a book other than the built-in one (JSON)")
    parser.add_argument("--no-music", action="store_true", help="make only the book's recordings")
    args = parser.parse_args()
    if args.voices:
        add_voices(args.voices)
    global SPEAK_WORDS
    SPEAK_WORDS = args.speak_words and os.path.abspath(args.speak_words)

    for tool in ("espeak-ng", "festival", "sox", "lame", "rubberband"):
        if not shutil.which(tool):
            raise SystemExit("make_audio: %s is not installed" % tool)
    os.makedirs(args.out, exist_ok=True)
    try:
        with open(args.manifest, encoding="utf-8") as f:
            manifest = json.load(f)
    except (OSError, ValueError):
        manifest = {}

    jobs = {}  # name -> Job
    music_key = digest(RECIPE_VERSION, music_recipe())
    for name, make in ({} if args.no_music else MUSIC).items():
        jobs[name] = Job(music_key, lambda out, words, work, m=make: m(out, work), False)
    if args.content and os.path.exists(os.path.join(args.content, "recordings.tsv")):
        for name, voice, text in read_recordings(args.content):
            if not text:
                print("make_audio: warning: recording %s has no text" % name, file=sys.stderr)
                continue
            settings = settings_for(name, voice)
            # The key holds the text as the engine gets it, so a new respelling
            # speaks again the lines it touches.
            spoken = ENGINE_TEXT[settings["engine"]](text)
            key = digest(RECIPE_VERSION, json.dumps(settings, sort_keys=True), spoken)
            jobs[name] = Job(key, lambda out, words, work, t=text, s=settings:
                             speak(t, s, out, words, work),
                             is_narration(name))
    else:
        print("make_audio: warning: no content export, only music is made", file=sys.stderr)

    def replaced(name):
        return args.source_assets and os.path.exists(
            os.path.join(args.source_assets, name + ".mp3"))

    def outputs(name):
        return os.path.join(args.out, name + ".mp3"), os.path.join(args.out, name + ".words")

    # Drop what we made earlier and no longer make (renamed or replaced by a
    # real recording), and word timings no longer made.
    for name in list(manifest):
        if name not in jobs or replaced(name):
            remove_quietly(*outputs(name))
            del manifest[name]
        elif not jobs[name].words:
            remove_quietly(outputs(name)[1])

    kept = [name for name in jobs if replaced(name)]
    todo = [name for name, job in jobs.items()
            if name not in kept and (manifest.get(name) != job.key or not all(
                os.path.exists(path) for path in outputs(name)[:2 if job.words else 1]))]
    # Recordings with the same text and voice (the two English narration sets)
    # are spoken once and copied.
    groups = {}
    for name in todo:
        groups.setdefault(jobs[name].key, []).append(name)

    def build(names):
        job = jobs[names[0]]
        mp3, words = outputs(names[0])
        if take_from_cache(args.cache, job, mp3, words):
            from_cache.extend(names)
        else:
            with tempfile.TemporaryDirectory(prefix="make_audio-") as work:
                job.make(mp3, words if job.words else None, work)
            keep_in_cache(args.cache, job, mp3, words)
        for other in names[1:]:
            copy_over(mp3, outputs(other)[0])
            if job.words:
                copy_over(words, outputs(other)[1])
        return names, job.key

    # What an older build made is kept too, so the next build folder finds it.
    for name in jobs:
        if args.cache and name not in kept and name not in todo and not in_cache(args.cache, jobs[name]):
            keep_in_cache(args.cache, jobs[name], *outputs(name))

    started = time.monotonic()
    failures = []
    from_cache = []
    with concurrent.futures.ThreadPoolExecutor(max_workers=max(1, args.jobs)) as pool:
        futures = {pool.submit(build, names): names for names in groups.values()}
        for future in concurrent.futures.as_completed(futures):
            try:
                names, key = future.result()
                for name in names:
                    manifest[name] = key
            except RuntimeError as error:
                failures.append("%s: %s" % (", ".join(futures[future]), error))

    tmp = args.manifest + ".part"
    with open(tmp, "w", encoding="utf-8") as f:
        json.dump(manifest, f, indent=1, sort_keys=True)
    os.replace(tmp, args.manifest)
    failed = sum(len(futures[f]) for f in futures if f.exception())
    print("make_audio: %d made, %d up to date, %d recorded in the assets folder, "
          "%d taken from the cache, %.1f s" %
          (len(todo) - failed, len(jobs) - len(todo) - len(kept), len(kept), len(from_cache),
           time.monotonic() - started))
    for failure in failures:
        print("make_audio: error: " + failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
