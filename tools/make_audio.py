#!/usr/bin/env python3
"""Speaks the book's recordings and synthesises its music.

Reads the content export (recordings.tsv: name, voice, text file) and writes
<name>.mp3 for each recording into the output folder, plus the looping music
"background.mp3" and the page effect "b_snore.mp3". A manifest of hashes in
the build folder lets unchanged recordings be skipped, so a rebuild after a
text change only speaks that text again. A recording placed in the source
assets folder under the same name wins: no generated copy is written for it.

Tools: espeak-ng (speech), sox (filtering, synthesis), lame (mp3).
"""

import argparse
import concurrent.futures
import hashlib
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

# Bumped whenever the processing below changes in a way that alters the sound.
RECIPE_VERSION = "3"

# A calm, slightly low and slow reading voice for a bedtime book.
NARRATOR = {
    "ru": {"voice": "ru+f5", "speed": 135, "pitch": 40, "gap": 2},
    "en": {"voice": "en-gb+f5", "speed": 135, "pitch": 40, "gap": 2},
}

# Dialogue voices by the figure letter in the recording name
# ("dialogue_page2_m1_ru": figure "m"), so each figure keeps its voice.
FIGURES = {
    "r": {"voice": "ru+f5", "speed": 150, "pitch": 70, "gap": 1},  # the little hero
    "b": {"voice": "ru+m3", "speed": 135, "pitch": 30, "gap": 1},  # the bear cub
    "m": {"voice": "ru+f2", "speed": 140, "pitch": 45, "gap": 1},  # mother
    "p": {"voice": "ru+f1", "speed": 150, "pitch": 80, "gap": 1},
    "h": {"voice": "ru+m1", "speed": 130, "pitch": 35, "gap": 1},
    "g": {"voice": "ru+f3", "speed": 140, "pitch": 60, "gap": 1},
}
DEFAULT_FIGURE = {"voice": "ru+f4", "speed": 140, "pitch": 55, "gap": 1}

# Speech is encoded mono at 22.05 kHz, plenty for a voice and small.
SPEECH_RATE = 22050
SPEECH_BITRATE = 48
MUSIC_RATE = 44100


def settings_for(name, voice):
    if name.startswith("dialogue_"):
        parts = name.split("_")
        figure = parts[2][:1] if len(parts) > 2 else ""
        return FIGURES.get(figure, DEFAULT_FIGURE)
    return NARRATOR[voice]


def run(cmd):
    result = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    if result.returncode != 0:
        raise RuntimeError(" ".join(cmd) + ": " + result.stderr.decode(errors="replace").strip())


def speak(text, settings, out_path, work):
    raw = os.path.join(work, "raw.wav")
    soft = os.path.join(work, "soft.wav")
    text_file = os.path.join(work, "text.txt")
    with open(text_file, "w", encoding="utf-8") as f:
        f.write(text)
    run(["espeak-ng", "-v", settings["voice"], "-s", str(settings["speed"]),
         "-p", str(settings["pitch"]), "-g", str(settings["gap"]), "-b", "1",
         "-f", text_file, "-w", raw])
    # Take the edge off the synthetic voice, even out the level and leave a
    # breath of silence at both ends.
    run(["sox", raw, "-r", str(SPEECH_RATE), soft, "highpass", "90", "lowpass", "6500",
         "bass", "+2", "gain", "-n", "-3", "pad", "0.15", "0.35"])
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
        run(["sox", "-n", "-r", str(MUSIC_RATE), "-c", "1", part, "synth", "%.4f" % seconds]
            + tones + ["fade", "q", "%.3f" % fade_in, "%.4f" % seconds, "%.3f" % fade_out,
                       "gain", "-n", "-6"])
        parts.append(part)
    run(["sox"] + parts + [out])


def make_background(out_path, work):
    melody = os.path.join(work, "melody.wav")
    pads = os.path.join(work, "pads.wav")
    synth_sequence(melody, [(n, b * BEAT) for n, b in MELODY], ["pluck"], 0.01, 0.6, work, "m")
    synth_sequence(pads, [(c, BAR) for c in CHORDS], ["sine"], 0.5, 0.7, work, "p")
    mixed = os.path.join(work, "mixed.wav")
    run(["sox", "-m", "-v", "0.9", melody, "-v", "0.5", pads, mixed])
    # Render two rounds through the reverb and keep the second: its start then
    # carries the first round's tail, so the loop point is seamless.
    twice = os.path.join(work, "twice.wav")
    run(["sox", mixed, mixed, twice, "reverb", "40", "50", "70", "remix", "-", "lowpass", "5000",
         "gain", "-n", "-4"])
    loop = os.path.join(work, "loop.wav")
    run(["sox", twice, "-r", str(MUSIC_RATE), loop, "trim", "%.4f" % LOOP_SECONDS,
         "%.4f" % LOOP_SECONDS])
    encode(loop, out_path, ["-m", "m", "-b", "64"])


def make_snore(out_path, work):
    """Two slow breaths, in with a low rumble and out with a soft whistle."""
    inhale = os.path.join(work, "in.wav")
    exhale = os.path.join(work, "out.wav")
    rest = os.path.join(work, "rest.wav")
    run(["sox", "-n", "-r", str(MUSIC_RATE), "-c", "1", inhale, "synth", "1.6", "brownnoise",
         "synth", "1.6", "sine", "amod", "32", "60", "lowpass", "400", "fade", "q", "0.6", "1.6",
         "0.5", "gain", "-n", "-8"])
    run(["sox", "-n", "-r", str(MUSIC_RATE), "-c", "1", exhale, "synth", "1.4", "pinknoise",
         "bandpass", "900", "300h", "fade", "q", "0.3", "1.4", "0.9", "gain", "-n", "-16"])
    run(["sox", "-n", "-r", str(MUSIC_RATE), "-c", "1", rest, "trim", "0", "0.8"])
    loop = os.path.join(work, "snore.wav")
    run(["sox", inhale, exhale, rest, loop])
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


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--content", help="content export folder (recordings.tsv, text/)")
    parser.add_argument("--out", required=True, help="folder for the mp3 files")
    parser.add_argument("--manifest", required=True, help="hash manifest (JSON)")
    parser.add_argument("--source-assets", help="folder whose recordings replace generated ones")
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    args = parser.parse_args()

    for tool in ("espeak-ng", "sox", "lame"):
        if not shutil.which(tool):
            raise SystemExit("make_audio: %s is not installed" % tool)
    os.makedirs(args.out, exist_ok=True)
    try:
        with open(args.manifest, encoding="utf-8") as f:
            manifest = json.load(f)
    except (OSError, ValueError):
        manifest = {}

    jobs = {}  # name -> (key, function(out_path, work))
    music_key = digest(RECIPE_VERSION, music_recipe())
    for name, make in MUSIC.items():
        jobs[name] = (music_key, make)
    if args.content and os.path.exists(os.path.join(args.content, "recordings.tsv")):
        for name, voice, text in read_recordings(args.content):
            if not text:
                print("make_audio: warning: recording %s has no text" % name, file=sys.stderr)
                continue
            settings = settings_for(name, voice)
            key = digest(RECIPE_VERSION, json.dumps(settings, sort_keys=True), text)
            jobs[name] = (key, lambda out, work, t=text, s=settings: speak(t, s, out, work))
    else:
        print("make_audio: warning: no content export, only music is made", file=sys.stderr)

    def replaced(name):
        return args.source_assets and os.path.exists(
            os.path.join(args.source_assets, name + ".mp3"))

    # Drop what we made earlier and no longer make (renamed or replaced by a real recording).
    for name in list(manifest):
        if name not in jobs or replaced(name):
            try:
                os.remove(os.path.join(args.out, name + ".mp3"))
            except OSError:
                pass
            del manifest[name]

    kept = [name for name in jobs if replaced(name)]
    todo = [name for name, (key, _) in jobs.items()
            if name not in kept and (manifest.get(name) != key or
                                     not os.path.exists(os.path.join(args.out, name + ".mp3")))]

    def build(name):
        key, make = jobs[name]
        with tempfile.TemporaryDirectory(prefix="make_audio-") as work:
            make(os.path.join(args.out, name + ".mp3"), work)
        return name, key

    started = time.monotonic()
    failures = []
    with concurrent.futures.ThreadPoolExecutor(max_workers=max(1, args.jobs)) as pool:
        futures = [pool.submit(build, name) for name in todo]
        for future in concurrent.futures.as_completed(futures):
            try:
                name, key = future.result()
                manifest[name] = key
            except RuntimeError as error:
                failures.append(str(error))

    tmp = args.manifest + ".part"
    with open(tmp, "w", encoding="utf-8") as f:
        json.dump(manifest, f, indent=1, sort_keys=True)
    os.replace(tmp, args.manifest)
    print("make_audio: %d made, %d up to date, %d recorded in the assets folder, %.1f s" %
          (len(todo) - len(failures), len(jobs) - len(todo) - len(kept), len(kept),
           time.monotonic() - started))
    for failure in failures:
        print("make_audio: error: " + failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
