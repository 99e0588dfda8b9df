#!/usr/bin/env python3
"""A random reader: a small child at the book, for as long as asked.

From a seed it writes a script of random input for the real program (taps on
what a survey's dumps show to be tappable and anywhere else, drags of every
length and speed, the book's keys, held keys, the wheel, tilts, focus lost and
regained, the language menu, the page navigator, the credits, the sound
device lost for a while and back), with pauses of 0 to 3 s and a dump every
few actions; it runs the program once over the whole script, headless with
virtual time, and then checks every dump and the event log:

  - the page is within the book and, at rest, its ground is the one shown;
  - at most one narration panel is shown;
  - the turn lock is free within 2.5 s of the last turn (or jump) asked for;
  - no figure is left deaf more than 10 s after the last sound ended;
  - the resident memory stays within 15 % of its peak over the first five
    minutes (a third of a shorter reading);
  - the engine objects alive on the resting cover stay within a small band;
  - with the sound device gone nothing is heard and the book reads on (the
    checks above hold), once back the device is "present"; each way is
    logged once;
  - the program exits with 0, no sanitizer report, "exit live objects 0".

A failure prints the seed, the check and the 50 actions before it; the same
seed and minutes give the same script, so it replays exactly.

With --window the program runs in a real window on an Xvfb display of its own
and the same kind of reader plays on it in real time through xdotool: clicks,
drags (button down, moves, up), presses, keys (held ones repeated by the X
server), the wheel (buttons 4 and 5), F11, Ctrl+R, the focus given to a small
window of another client and back (SDL reports it lost and gained), the
language menu, the navigator, the credits. Tilting and the sound device have
no real event in a window and are left to the headless run. The script beside
the program only dumps, every --dump-seconds of frames; the same checks (but
the sound device's) are made on those dumps and on the event log, and the end
is Ctrl+Q. A seed replays the same actions in a window, not the same timing.

    tools/monkey.py --program build/lumo-book [--minutes 3] [--seed 1]
                    [--targets FILE] [--work DIR] [--dump-every 5]
                    [--window [--dump-seconds 3]]

Where things stand comes from a survey run (every page at rest, the navigator
open); --targets keeps that table in FILE and reads it from there when it
exists.
"""
import argparse
import ctypes
import ctypes.util
import json
import math
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(REPO, "tests", "e2e", "lib"))
from views import back_button_centre  # noqa: E402

WIDTH, HEIGHT, LAST = 1024, 768, 18
FRAME = 1 / 60
TURN_KEYS = {"Right": 1, "PageDown": 1, "Space": 1, "Left": -1, "PageUp": -1}
OTHER_KEYS = ["Escape", "Enter", "G", "A", "Minus", "Plus", "M", "N", "H", "R", "S", "V",
              "Shift+V", "Home"]
# Keys the book gives nothing to with Shift held: the same key reaches the book.
SHIFTED = ["Shift+Right", "Shift+Left", "Shift+G", "Shift+M", "Shift+Escape"]
LOCK_LIMIT, DEAF_LIMIT, RSS_SHARE = 2.5, 10.0, 0.15
# The engine objects of the resting cover: alike within this share or count.
LIVE_SHARE, LIVE_SPREAD = 0.10, 40
SANITIZER = re.compile(r"ERROR: (Address|Leak|Memory|Thread)Sanitizer|runtime error:|"
                       r"SUMMARY: \w+Sanitizer")


# MARK: running the program

def run_program(program, script_text, work, name, env):
    script = os.path.join(work, f"{name}.txt")
    with open(script, "w") as f:
        f.write(script_text)
    with open(os.path.join(work, f"{name}.log"), "w") as out, \
            open(os.path.join(work, f"{name}.err"), "w") as err:
        status = subprocess.run([program, "--headless", "--log-events", "--script", script],
                                stdout=out, stderr=err, env=env, cwd=os.path.dirname(program))
    return status.returncode


def nodes(tree):
    if tree:
        yield tree
        for child in tree.get("children", []):
            yield from nodes(child)


def views(tree):
    if tree:
        yield tree
        for child in tree.get("children", []):
            yield from views(child)


def tappable(state):
    """The nodes a tap can reach now, and the panel's words."""
    found = [(n["name"], n["screenRect"]) for n in nodes(state["world"])
             if n["visible"] and n["touchEnabled"] and n["screenRect"]]
    found += [(f"word {w['index']}", w["rect"]) for w in state["panel"]["words"]]
    return found


# MARK: the survey

def survey(program, work, env):
    """Every page at rest and the navigator open: what a tap can reach on each."""
    lines = ["wait 2.5", f"dump {work}/survey1.json", "key G", "wait 0.3",
             f"dump {work}/survey-navigator.json", "key Escape", "wait 0.3"]
    for page in range(2, LAST + 1):
        lines += ["key Right", "wait 2.1", f"dump {work}/survey{page}.json"]
    status = run_program(program, "\n".join(lines) + "\n", work, "survey", env)
    if status != 0:
        sys.exit(f"the survey run exited with {status}: see {work}/survey.err")
    pages = {}
    for page in range(1, LAST + 1):
        state = json.load(open(f"{work}/survey{page}.json"))
        if state["book"]["page"] != page:
            sys.exit(f"the survey found page {state['book']['page']} where {page} should be")
        pages[str(page)] = tappable(state)
    navigator = json.load(open(f"{work}/survey-navigator.json"))["navigator"]
    layout = json.load(open(os.path.join(REPO, "assets", "CreditsView.json")))
    return {"pages": pages,
            "thumbs": [[t["page"], t["rect"]] for t in navigator["thumbs"] if t["rect"]],
            "creditsBack": [round(v) for v in back_button_centre(layout)]}


# MARK: the plan

class Plan:
    """The random script, each action with the virtual time it starts at."""

    def __init__(self, seed, targets, dump_every, work):
        self.rng = random.Random(seed)
        self.targets, self.dump_every, self.work = targets, dump_every, work
        self.lines, self.actions, self.dumps = ["wait 2.5"], [], []
        self.clock, self.page, self.turned_at = 2.5, 1, -10.0
        self.counts = {}
        self.device_back_at = None  # while the sound device is gone: when it returns

    def emit(self, kind, *lines, seconds=0.0):
        self.actions.append((len(self.lines), round(self.clock, 3), "; ".join(lines)))
        self.lines += lines
        self.clock += seconds
        self.counts[kind] = self.counts.get(kind, 0) + 1

    def pause(self):
        r = self.rng.random()
        seconds = (self.rng.uniform(0, 0.3) if r < 0.5 else
                   self.rng.uniform(0.3, 1.5) if r < 0.85 else self.rng.uniform(1.5, 3.0))
        seconds = round(seconds, 3)
        if seconds >= FRAME:
            self.lines.append(f"wait {seconds}")
            self.clock += seconds

    def guess_turn(self, step):
        """The page the book is probably on: only for aiming taps."""
        if self.clock - self.turned_at > 1.6:
            self.page = min(LAST, max(1, self.page + step))
            self.turned_at = self.clock

    def point_in(self, rect, spill=0.0):
        x, y, w, h = rect
        px = self.rng.uniform(x - spill, x + w + spill)
        py = self.rng.uniform(y - spill, y + h + spill)
        return round(min(WIDTH - 1, max(0, px))), round(min(HEIGHT - 1, max(0, py)))

    def anywhere(self):
        return self.rng.randrange(WIDTH), self.rng.randrange(HEIGHT)

    # The actions, each with its weight in `step`.

    def tap_aimed(self):
        page = self.page if self.rng.random() < 0.8 else self.rng.randint(1, LAST)
        aims = self.targets["pages"][str(page)]
        words = [aim for aim in aims if aim[0].startswith("word")]
        others = [aim for aim in aims if not aim[0].startswith("word")]
        name, rect = self.rng.choice(words if words and self.rng.random() < 0.4 else others)
        x, y = self.point_in(rect, spill=40 if self.rng.random() < 0.15 else 0)
        self.emit("tap aimed", f"tap {x} {y}", seconds=2 * FRAME)
        if name in ("home-btn", "menu-end1"):
            self.page, self.turned_at = 1, self.clock
        if name == "menu-end2":
            self.credits_back()

    def tap_anywhere(self):
        x, y = self.anywhere()
        self.emit("tap anywhere", f"tap {x} {y}", seconds=2 * FRAME)

    def drag(self):
        x1, y1 = self.anywhere()
        r = self.rng.random()
        length = self.rng.uniform(0, 30) if r < 0.3 else self.rng.uniform(30, 600)
        angle = self.rng.uniform(0, 6.283)
        x2 = round(min(WIDTH - 1, max(0, x1 + length * math.cos(angle))))
        y2 = round(min(HEIGHT - 1, max(0, y1 + length * math.sin(angle))))
        seconds = round(self.rng.choice([self.rng.uniform(0.02, 0.15), self.rng.uniform(0.15, 0.6),
                                         self.rng.uniform(0.6, 2.5)]), 3)
        self.emit("drag", f"drag {x1} {y1} {x2} {y2} {seconds}", seconds=seconds + FRAME)
        if abs(y2 - y1) > 60:
            self.guess_turn(1 if y2 < y1 else -1)

    def press(self):
        """A touch held still, then moved a little, then let go."""
        x, y = self.anywhere()
        held = round(self.rng.uniform(0.05, 2.0), 3)
        dx, dy = self.rng.randint(-20, 20), self.rng.randint(-20, 20)
        self.emit("press", f"down {x} {y}", f"wait {held}", f"move {x + dx} {y + dy}",
                  "wait 0.05", f"up {x + dx} {y + dy}", seconds=held + 0.05)

    def key(self):
        r = self.rng.random()
        if r < 0.45:
            name = self.rng.choice(list(TURN_KEYS))
            self.guess_turn(TURN_KEYS[name])
        elif r < 0.93:
            name = self.rng.choice(OTHER_KEYS)
            if name == "Home" and self.page > 1:
                self.page, self.turned_at = 1, self.clock
        else:
            name = self.rng.choice(SHIFTED)
        self.emit("key", f"key {name}")

    def hold(self):
        name = self.rng.choice(list(TURN_KEYS) + ["G", "M", "Enter"])
        seconds = round(self.rng.uniform(0.1, 3.0), 3)
        self.emit("hold", f"hold {name} {seconds}", seconds=seconds)
        if name in TURN_KEYS:
            self.guess_turn(TURN_KEYS[name])

    def wheel(self):
        notches = self.rng.choice([-5, -3, -2, -1, 1, 1, 2, 3, 5])
        self.emit("wheel", f"wheel {notches}")
        self.guess_turn(1 if notches > 0 else -1)

    def tilt(self):
        lines = [f"accel {self.rng.uniform(-1, 1):.2f} {self.rng.uniform(-1, 1):.2f} "
                 f"{self.rng.uniform(-1, 1):.2f}" for _ in range(self.rng.randint(1, 6))]
        waits = []
        for line in lines:
            waits += [line, "wait 0.05"]
        self.emit("tilt", *waits, seconds=0.05 * len(lines))

    def focus(self):
        away = round(self.rng.uniform(0, 3), 3)
        self.emit("focus", "focus out", f"wait {away}", "focus in", seconds=away)

    def language(self):
        """Home, then one of the cover's language buttons."""
        cover = self.targets["pages"]["1"]
        buttons = [rect for name, rect in cover if name.startswith("menu-btn")]
        x, y = self.point_in(self.rng.choice(buttons))
        self.emit("language", "key Home", "wait 1.9", f"tap {x} {y}", seconds=1.9 + 2 * FRAME)
        self.page, self.turned_at = 1, self.clock

    def navigator(self):
        """G, a roll along the strip, a tap on a page (or beside it)."""
        lines = ["key G", f"wait {self.rng.choice([0.0, 0.2, 0.6])}"]
        if self.rng.random() < 0.5:
            lines += [f"wheel {self.rng.choice([-4, -2, 2, 4])}", "wait 0.1"]
        page, rect = self.rng.choice(self.targets["thumbs"])
        x, y = self.point_in(rect) if self.rng.random() < 0.8 else self.anywhere()
        lines.append(f"tap {x} {y}")
        self.emit("navigator", *lines, seconds=0.8)
        if self.clock - self.turned_at > 1.6:
            self.page, self.turned_at = page, self.clock

    def credits(self):
        """The ending page through the navigator's keys, its credits button, back."""
        last = [rect for name, rect in self.targets["pages"][str(LAST)] if name == "menu-end2"]
        if not last:
            return self.tap_anywhere()
        x, y = self.point_in(last[0])
        self.emit("credits", "key G", "wait 0.3", *["key Right"] * (LAST - 1), "key Enter",
                  "wait 2.5", f"tap {x} {y}", seconds=2.8 + 2 * FRAME)
        self.page, self.turned_at = LAST, self.clock
        self.credits_back()

    def credits_back(self):
        self.pause()
        if self.rng.random() < 0.3:
            self.drag()
            self.pause()
        x, y = self.credits_back_point()
        self.emit("credits back", f"tap {x} {y}", seconds=2 * FRAME)

    def credits_back_point(self):
        bx, by = self.targets["creditsBack"]
        return bx + self.rng.randint(-8, 8), by + self.rng.randint(-8, 8)

    def sound_device(self):
        """The sound card goes away for a while (or, gone already, comes back early)."""
        if self.device_back_at is not None:
            return self.sound_device_back()
        r = self.rng.random()
        away = self.rng.uniform(0.2, 5) if r < 0.6 else self.rng.uniform(5, 40)
        self.emit("sound device lost", "sound-device lost")
        self.device_back_at = self.clock + away

    def sound_device_back(self):
        self.emit("sound device back", "sound-device back")
        self.device_back_at = None

    def dump(self):
        path = os.path.join(self.work, f"dump{len(self.dumps):05d}.json")
        self.dumps.append((path, len(self.actions), round(self.clock, 3),
                           self.device_back_at is not None))
        self.lines.append(f"dump {path}")

    def step(self):
        if self.device_back_at is not None and self.clock >= self.device_back_at:
            self.sound_device_back()
        kinds = [(self.tap_aimed, 26), (self.tap_anywhere, 14), (self.drag, 16), (self.press, 3),
                 (self.key, 20), (self.hold, 2), (self.wheel, 7), (self.tilt, 4), (self.focus, 2),
                 (self.language, 2), (self.navigator, 3), (self.credits, 1),
                 (self.sound_device, 2)]
        choice = self.rng.choices([k for k, _ in kinds], [w for _, w in kinds])[0]
        choice()
        self.pause()

    def write(self, seconds):
        self.dump()
        while self.clock < seconds:
            self.step()
            if len(self.actions) % self.dump_every == 0:
                self.dump()
        if self.device_back_at is not None:
            self.sound_device_back()
        self.dump()
        return "\n".join(self.lines) + "\n"


# MARK: the plan for a real window

# The book's keys by their X names, and what each turns.
X_TURN_KEYS = {"Right": 1, "Next": 1, "space": 1, "Left": -1, "Prior": -1}
X_BOOK_KEYS = ["Escape", "Return", "g", "a", "minus", "plus", "m", "n", "h", "r", "s", "v",
               "shift+v", "Home", "F11"]
# Keys the book has nothing for, and some with a modifier (Shift passes the key on,
# Alt and Ctrl keep it from the book); Ctrl+R turns the device over, the picture
# staying upright to the reader, so aims need no turning.
X_OTHER_KEYS = ["Up", "Down", "End", "Tab", "BackSpace", "Delete", "z", "7", "F1", "KP_Add",
                "KP_Enter", "equal", "shift+Right", "shift+g", "alt+Left", "ctrl+g", "ctrl+r"]


class WindowPlan(Plan):
    """The same reader at a real window: every entry of `lines` a list of
    pointer and key steps, the pointer in the picture's pixels."""

    def __init__(self, seed, targets, work):
        super().__init__(seed, targets, 0, work)
        self.lines, self.clock = [], 0.0

    def emit(self, kind, *steps, seconds=0.0):
        self.actions.append((len(self.lines), round(self.clock, 3), describe(steps)))
        self.lines.append(list(steps))
        self.clock += seconds
        self.counts[kind] = self.counts.get(kind, 0) + 1

    def pause(self):
        r = self.rng.random()
        seconds = (self.rng.uniform(0, 0.3) if r < 0.5 else
                   self.rng.uniform(0.3, 1.5) if r < 0.85 else self.rng.uniform(1.5, 3.0))
        self.lines.append([("sleep", round(seconds, 3))])
        self.clock += seconds

    @staticmethod
    def at(x, y):
        return ("move", x, y)

    def tap_steps(self, x, y):
        return [self.at(x, y), ("down",), ("sleep", round(2 * FRAME, 3)), ("up",)]

    def tap_aimed(self):
        page = self.page if self.rng.random() < 0.8 else self.rng.randint(1, LAST)
        aims = self.targets["pages"][str(page)]
        words = [aim for aim in aims if aim[0].startswith("word")]
        others = [aim for aim in aims if not aim[0].startswith("word")]
        name, rect = self.rng.choice(words if words and self.rng.random() < 0.4 else others)
        x, y = self.point_in(rect, spill=40 if self.rng.random() < 0.15 else 0)
        self.emit("tap aimed", *self.tap_steps(x, y), seconds=2 * FRAME)
        if name in ("home-btn", "menu-end1"):
            self.page, self.turned_at = 1, self.clock
        if name == "menu-end2":
            self.credits_back()

    def tap_anywhere(self):
        self.emit("tap anywhere", *self.tap_steps(*self.anywhere()), seconds=2 * FRAME)

    def drag(self):
        x1, y1 = self.anywhere()
        length = self.rng.uniform(0, 30) if self.rng.random() < 0.3 else self.rng.uniform(30, 600)
        angle = self.rng.uniform(0, 6.283)
        x2 = round(min(WIDTH - 1, max(0, x1 + length * math.cos(angle))))
        y2 = round(min(HEIGHT - 1, max(0, y1 + length * math.sin(angle))))
        seconds = self.rng.choice([self.rng.uniform(0.02, 0.15), self.rng.uniform(0.15, 0.6),
                                   self.rng.uniform(0.6, 2.5)])
        moves = max(2, min(40, round(seconds * 30)))
        steps = [self.at(x1, y1), ("down",)]
        for i in range(1, moves + 1):
            steps += [("sleep", round(seconds / moves, 3)),
                      self.at(round(x1 + (x2 - x1) * i / moves), round(y1 + (y2 - y1) * i / moves))]
        self.emit("drag", *steps, ("up",), seconds=seconds)
        if abs(y2 - y1) > 60:
            self.guess_turn(1 if y2 < y1 else -1)

    def press(self):
        x, y = self.anywhere()
        held = round(self.rng.uniform(0.05, 2.0), 3)
        dx, dy = self.rng.randint(-20, 20), self.rng.randint(-20, 20)
        self.emit("press", self.at(x, y), ("down",), ("sleep", held), self.at(x + dx, y + dy),
                  ("sleep", 0.05), ("up",), seconds=held + 0.05)

    def key(self):
        r = self.rng.random()
        if r < 0.45:
            name = self.rng.choice(list(X_TURN_KEYS))
            self.guess_turn(X_TURN_KEYS[name])
        elif r < 0.88:
            name = self.rng.choice(X_BOOK_KEYS)
            if name == "Home" and self.page > 1:
                self.page, self.turned_at = 1, self.clock
        else:
            name = self.rng.choice(X_OTHER_KEYS)
        self.emit("key", ("key", name))

    def hold(self):
        """A key held down: the X server repeats it."""
        name = self.rng.choice(list(X_TURN_KEYS) + ["g", "m", "Return", "Down", "z"])
        seconds = round(self.rng.uniform(0.1, 3.0), 3)
        self.emit("hold", ("keydown", name), ("sleep", seconds), ("keyup", name), seconds=seconds)
        if name in X_TURN_KEYS:
            self.guess_turn(X_TURN_KEYS[name])

    def wheel(self):
        notches = self.rng.choice([-5, -3, -2, -1, 1, 1, 2, 3, 5])
        self.emit("wheel", ("wheel", notches))
        self.guess_turn(1 if notches > 0 else -1)

    def focus(self):
        away = round(self.rng.uniform(0, 3), 3)
        self.emit("focus", ("focus", "out"), ("sleep", away), ("focus", "in"), seconds=away)

    def language(self):
        cover = self.targets["pages"]["1"]
        buttons = [rect for name, rect in cover if name.startswith("menu-btn")]
        x, y = self.point_in(self.rng.choice(buttons))
        self.emit("language", ("key", "Home"), ("sleep", 1.9), *self.tap_steps(x, y),
                  seconds=1.9 + 2 * FRAME)
        self.page, self.turned_at = 1, self.clock

    def navigator(self):
        steps = [("key", "g"), ("sleep", self.rng.choice([0.0, 0.2, 0.6]))]
        if self.rng.random() < 0.5:
            steps += [("wheel", self.rng.choice([-4, -2, 2, 4])), ("sleep", 0.1)]
        page, rect = self.rng.choice(self.targets["thumbs"])
        x, y = self.point_in(rect) if self.rng.random() < 0.8 else self.anywhere()
        self.emit("navigator", *steps, *self.tap_steps(x, y), seconds=0.8)
        if self.clock - self.turned_at > 1.6:
            self.page, self.turned_at = page, self.clock

    def credits(self):
        last = [rect for name, rect in self.targets["pages"][str(LAST)] if name == "menu-end2"]
        if not last:
            return self.tap_anywhere()
        x, y = self.point_in(last[0])
        self.emit("credits", ("key", "g"), ("sleep", 0.3), *[("key", "Right")] * (LAST - 1),
                  ("key", "Return"), ("sleep", 2.5), *self.tap_steps(x, y),
                  seconds=2.8 + 2 * FRAME)
        self.page, self.turned_at = LAST, self.clock
        self.credits_back()

    def credits_back(self):
        self.pause()
        if self.rng.random() < 0.3:
            self.drag()
            self.pause()
        self.emit("credits back", *self.tap_steps(*self.credits_back_point()), seconds=2 * FRAME)

    def step(self):
        kinds = [(self.tap_aimed, 26), (self.tap_anywhere, 14), (self.drag, 16), (self.press, 3),
                 (self.key, 20), (self.hold, 3), (self.wheel, 7), (self.focus, 3),
                 (self.language, 2), (self.navigator, 3), (self.credits, 1)]
        choice = self.rng.choices([k for k, _ in kinds], [w for _, w in kinds])[0]
        choice()
        self.pause()

    def write(self, seconds):
        while self.clock < seconds:
            self.step()
        return self.lines


def describe(steps):
    moves = [step for step in steps if step[0] == "move"]
    if len(moves) > 2:  # a drag: where it began and ended, how long it took
        seconds = sum(step[1] for step in steps if step[0] == "sleep")
        (_, x1, y1), (_, x2, y2) = moves[0], moves[-1]
        return f"drag {x1} {y1} to {x2} {y2}, {len(moves) - 1} moves in {seconds:.3f} s"
    return "; ".join(" ".join(str(part) for part in step) for step in steps)


# MARK: the checks

def log_events(path):
    events = []
    for line in open(path):
        head, _, rest = line.rstrip("\n").partition(" ")
        try:
            events.append((float(head), rest))
        except ValueError:
            pass
    return events


def last_before(events, moment, test):
    found = [t for t, text in events if t <= moment and test(text)]
    return found[-1] if found else None


def credits_shown(state):
    return any(v.get("image") == "credits_back.png" and not v["hidden"] and v["alpha"] > 0
               for v in views(state.get("views")))


class Checker:
    def __init__(self, events, minutes, origin=None):
        self.events, self.failures, self.checks = events, [], 0
        self.rss, self.cover_live = [], []
        self.rss_window = min(300.0, minutes * 60 / 3)
        # The memory's time runs from here: the first dump's time when not given
        # (a window's clock is the wall clock).
        self.origin = origin

    def expect(self, ok, where, what):
        self.checks += 1
        if not ok:
            self.failures.append((where, what))

    def state(self, where, state, device_lost=None):
        book, when = state["book"], state["director"]["time"]
        page = book["page"]
        self.expect(1 <= page <= book["pageCount"] == LAST, where, f"page {page}")
        grounds = [n["name"] for n in nodes(state["world"])
                   if re.fullmatch(r"ground\d+", n["name"] or "") and n["visible"]]
        if not book["lockDrag"]:
            self.expect(book["curGroundName"] == f"ground{page}" and grounds == [f"ground{page}"],
                        where, f"page {page} at rest, ground {book['curGroundName']}, shown {grounds}")
        panels = [n["name"] for n in nodes(state["world"])
                  if re.fullmatch(r"s\d+Aside|aside_bg", n["name"] or "") and n["visible"]]
        self.expect(len(panels) <= 2 and sum(p == "aside_bg" for p in panels) <= 1, where,
                    f"narration panels {panels}")
        recording = state["desktop"]["recording"]["state"] != "idle"
        if book["lockDrag"] and not recording and not credits_shown(state):
            asked = last_before(self.events, when, lambda t: t.startswith("turn requested") or
                                t.startswith("jump from") or t.startswith("navigator jump"))
            self.expect(asked is not None and when - asked <= LOCK_LIMIT, where,
                        f"turn lock held {when - (asked or 0):.2f} s after the last turn asked for")
        if not book["animationAllowed"] and not state["sound"]["main"] and not recording:
            ended = last_before(self.events, when,
                                lambda t: t.startswith("sound end main") or
                                t.startswith("sound stop main")) or 0.0
            self.expect(when - ended <= DEAF_LIMIT, where,
                        f"figures deaf {when - ended:.2f} s after the last sound ended")
        if device_lost is not None:
            self.sound_device(where, state["desktop"], device_lost)
        if self.origin is None:
            self.origin = when
        self.rss.append((when - self.origin, state["process"]["rssBytes"], where))
        if (page == 1 and not book["lockDrag"] and not state["navigator"]["open"] and
                not credits_shown(state) and not recording):
            self.cover_live.append((state["process"]["liveObjects"], where))

    def sound_device(self, where, desktop, lost):
        """Gone, nothing is heard (the book reads on unheard); back, the device is there."""
        self.expect(desktop["soundDevice"] == ("lost" if lost else "present"), where,
                    f"sound device {desktop['soundDevice']} where it should be "
                    f"{'lost' if lost else 'present'}")
        if lost:
            self.expect(not any(desktop["heard"].values()), where,
                        f"heard with no sound device: {desktop['heard']}")

    def sound_device_log(self, lost, back):
        """Each way the device went is logged once."""
        logged = [sum(text == f"sound device {way}" for _, text in self.events)
                  for way in ("lost", "back")]
        self.expect(logged == [lost, back], "log",
                    f"sound device lost/back logged {logged[0]}/{logged[1]} times, "
                    f"made {lost}/{back}")

    def memory(self):
        if self.rss_window < 60:
            return None  # too short a reading to have seen most pages first
        early = [rss for when, rss, _ in self.rss if when <= self.rss_window]
        late = [(when, rss, where) for when, rss, where in self.rss if when > self.rss_window]
        if not early or not late:
            return None
        peak = max(early)
        for when, rss, where in late:
            self.expect(rss <= peak * (1 + RSS_SHARE), where,
                        f"resident memory {rss / 2**20:.0f} MiB, over {RSS_SHARE:.0%} above "
                        f"{peak / 2**20:.0f} MiB")
        return peak

    def cover(self):
        if not self.cover_live:
            return
        first = self.cover_live[0][0]
        band = max(LIVE_SPREAD, first * LIVE_SHARE)
        for live, where in self.cover_live:
            self.expect(abs(live - first) <= band, where,
                        f"{live} live objects on the cover, {first} at first (band {band:.0f})")

    def exit(self, status, log_text, err_text):
        self.expect(status == 0, "exit", f"exit status {status}")
        self.expect("exit live objects 0" in log_text, "exit",
                    "no \"exit live objects 0\": " + (log_text.strip().splitlines() or [""])[-1])
        report = SANITIZER.search(err_text)
        self.expect(report is None, "exit", "sanitizer report: " +
                    (err_text[report.start():report.start() + 300] if report else ""))


# MARK: running in a real window

class OtherWindow:
    """A small window of another client beside the book's: the focus given to it
    is what SDL reports as lost (the root window taking it is not)."""

    def __init__(self, display):
        x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
        x11.XOpenDisplay.restype, x11.XOpenDisplay.argtypes = ctypes.c_void_p, [ctypes.c_char_p]
        x11.XDefaultRootWindow.restype = ctypes.c_ulong
        x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x11.XCreateSimpleWindow.restype = ctypes.c_ulong
        x11.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + \
            [ctypes.c_int] * 2 + [ctypes.c_uint] * 3 + [ctypes.c_ulong] * 2
        x11.XMapWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        x11.XFlush.argtypes = x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.x11, self.display = x11, x11.XOpenDisplay(display.encode())
        # In the corner, clear of the book's window in the middle of the screen.
        self.id = x11.XCreateSimpleWindow(self.display, x11.XDefaultRootWindow(self.display),
                                          0, 0, 64, 64, 0, 0, 0)
        x11.XMapWindow(self.display, self.id)
        x11.XFlush(self.display)

    def close(self):
        self.x11.XCloseDisplay(self.display)


class Window:
    """The program in a window on an X server of its own, driven through xdotool."""

    def __init__(self, program, work, env, dump_seconds, minutes):
        self.program, self.work, self.env = program, work, dict(env)
        self.dumps = []
        self.started_xvfb()
        lines = ["wait 1"]
        for i in range(int((minutes * 60 + 120) / dump_seconds)):
            path = os.path.join(work, f"dump{i:05d}.json")
            self.dumps.append(path)
            lines += [f"dump {path}", f"wait {dump_seconds}"]
        script = os.path.join(work, "monkey.txt")
        with open(script, "w") as f:
            f.write("\n".join(lines + ["wait 100000"]) + "\n")
        self.env.pop("SDL_VIDEODRIVER", None)
        self.env.setdefault("SDL_AUDIODRIVER", "dummy")
        self.out = open(os.path.join(work, "monkey.log"), "w")
        self.err = open(os.path.join(work, "monkey.err"), "w")
        self.book = subprocess.Popen([program, "--log-events", "--script", script],
                                     stdout=self.out, stderr=self.err, env=self.env,
                                     cwd=os.path.dirname(program))
        found = self.xdo("search", "--sync", "--classname", "lumo-book", timeout=120)
        if not found:
            self.close()
            sys.exit(f"no window of the book: see {work}/monkey.err")
        self.window = found.split()[0]
        self.other = OtherWindow(self.env["DISPLAY"])
        # With no window manager nothing gives the new window the focus; until
        # it has it the book waits, inactive.
        self.xdo("windowfocus", "--sync", self.window)

    def started_xvfb(self):
        """A display of its own, whatever other servers run beside it."""
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0",
                                      "1280x1024x24", "-nolisten", "tcp"], pass_fds=[write],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as f:
            display = f.readline().strip()
        if not display:
            sys.exit("Xvfb did not start")
        self.env["DISPLAY"] = f":{display}"

    def xdo(self, *args, timeout=60):
        try:
            done = subprocess.run(["xdotool", *map(str, args)], env=self.env, timeout=timeout,
                                  stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        except subprocess.TimeoutExpired:
            return ""  # a window that never came, or a focus never given: the checks tell
        return done.stdout

    def picture_to_window(self):
        """The letterbox of the picture in the window as it is now (full screen or not)."""
        shell = dict(line.split("=", 1) for line in
                     self.xdo("getwindowgeometry", "--shell", self.window).split())
        ww, wh = int(shell["WIDTH"]), int(shell["HEIGHT"])
        w, h = ww, wh
        if ww / wh > WIDTH / HEIGHT:
            w = int(wh * WIDTH / HEIGHT + 0.5)
        else:
            h = int(ww * HEIGHT / WIDTH + 0.5)
        left, top = (ww - w) // 2, wh - h - (wh - h) // 2
        return lambda x, y: (left + round(x * w / WIDTH), top + round(y * h / HEIGHT))

    def run(self, steps):
        """One action as one xdotool command line; a pause is slept here."""
        if len(steps) == 1 and steps[0][0] == "sleep":
            time.sleep(steps[0][1])
            return
        place = self.picture_to_window() if any(s[0] == "move" for s in steps) else None
        args = []
        for step in steps:
            verb = step[0]
            if verb == "move":
                args += ["mousemove", "--window", self.window, *place(step[1], step[2])]
            elif verb in ("down", "up"):
                args += [f"mouse{verb}", 1]
            elif verb in ("sleep", "key", "keydown", "keyup"):
                args += [verb, step[1]]
            elif verb == "wheel":
                button = 5 if step[1] > 0 else 4  # rolled down, the book counts notches on
                args += ["click", "--repeat", abs(step[1]), "--delay", 40, button]
            elif verb == "focus":
                args += ["windowfocus", "--sync", self.window if step[1] == "in" else self.other.id]
        self.xdo(*args)

    def alive(self):
        return self.book.poll() is None

    def quit(self):
        """Ctrl+Q with the focus on the book; the exit status, None if it stays."""
        if self.alive():
            self.xdo("windowfocus", "--sync", self.window)
            time.sleep(0.3)
            self.xdo("key", "ctrl+q")
        try:
            return self.book.wait(timeout=60)
        except subprocess.TimeoutExpired:
            return None

    def close(self):
        if self.alive():
            self.book.kill()
            self.book.wait()
        self.out.close()
        self.err.close()
        if hasattr(self, "other"):
            self.other.close()
        self.xvfb.terminate()
        self.xvfb.wait()


def run_window(args, seed, targets, work, env):
    """The plan played at a real window; the dumps the script beside it took checked."""
    started = time.monotonic()
    plan = WindowPlan(seed, targets, work)
    lines = plan.write(args.minutes * 60)
    # Stopped from outside, the X server and the book go too.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(f"stopped; work: {work}"))
    window = Window(args.program, work, env, args.dump_seconds, args.minutes)
    began, stopped = [], None
    try:
        time.sleep(2.5)
        for steps in lines:
            if not window.alive():
                stopped = len(began)
                break
            began.append(time.time())
            window.run(steps)
        status = window.quit()
    finally:
        window.close()

    log_text = open(os.path.join(work, "monkey.log")).read()
    err_text = open(os.path.join(work, "monkey.err"), errors="replace").read()
    checker = Checker(log_events(os.path.join(work, "monkey.log")), args.minutes)
    checker.expect(stopped is None, "run", f"the book ended by itself after {stopped} steps")
    checker.expect(status is not None, "exit", "Ctrl+Q did not close the book")
    checker.exit(-1 if status is None else status, log_text, err_text)
    written = [path for path in window.dumps if os.path.exists(path)]
    # The script's waits count frames, which a window draws slower than a
    # headless run and not at all while it rests or has no focus.
    checker.expect(len(written) >= args.minutes * 2, "run",
                   f"only {len(written)} dumps written in {args.minutes:g} minutes")
    for path in written:
        checker.state(path, json.load(open(path)))
    peak = checker.memory()
    checker.cover()
    print(f"window, seed {seed}, {args.minutes:g} minutes, {len(plan.actions)} actions "
          f"({', '.join(f'{k} {v}' for k, v in sorted(plan.counts.items()))}), "
          f"{len(written)} dumps, {checker.checks} invariant checks, "
          f"{time.monotonic() - started:.0f} s wall")
    summary(checker, peak)
    if checker.failures:
        # Real time: the actions before a dump are those begun before it was written.
        first = checker.failures[0][0]
        written_at = os.path.getmtime(first) if os.path.exists(first) else time.time()
        upto = sum(1 for line, _, _ in plan.actions
                   if line < len(began) and began[line] <= written_at)
        report_failure(seed, args.minutes, plan, checker, work, upto, "--window ")
        return 1
    if not args.work:
        shutil.rmtree(work, ignore_errors=True)
    print("PASS")
    return 0


def report_failure(seed, minutes, plan, checker, where, upto, mode=""):
    print(f"FAIL: seed {seed}, {minutes} minutes: {len(checker.failures)} failed checks")
    for place, what in checker.failures[:10]:
        print(f"  {place}: {what}")
    print(f"the 50 actions before {checker.failures[0][0]} (line, planned time, action):")
    for line, when, text in plan.actions[max(0, upto - 50):upto]:
        print(f"  {line + 1:6d} {when:9.3f}  {text}")
    print(f"replay: tools/monkey.py {mode}--seed {seed} --minutes {minutes}; work: {where}")


def summary(checker, peak):
    rss = [r for _, r, _ in checker.rss]
    live = [n for n, _ in checker.cover_live]
    if rss:
        early = (f"{peak / 2**20:.0f} MiB peak of the first {checker.rss_window:.0f} s"
                 if peak else "too short a reading for the memory check")
        print(f"resident memory: {rss[0] / 2**20:.0f} MiB at the start, {early}, "
              f"{max(rss) / 2**20:.0f} MiB peak, {rss[-1] / 2**20:.0f} MiB at the end")
    if live:
        print(f"live objects on the resting cover: {len(live)} dumps, {min(live)}..{max(live)}, "
              f"first {live[0]}, last {live[-1]}")
    print(f"turns: {sum(t.startswith('turn requested') for _, t in checker.events)} asked, "
          f"{sum(t.startswith('page settled') for _, t in checker.events)} settled")


def run_headless(args, seed, targets, work, env):
    started = time.monotonic()
    plan = Plan(seed, targets, args.dump_every, work)
    script = plan.write(args.minutes * 60)
    status = run_program(args.program, script, work, "monkey", env)
    log_text = open(os.path.join(work, "monkey.log")).read()
    err_text = open(os.path.join(work, "monkey.err"), errors="replace").read()
    checker = Checker(log_events(os.path.join(work, "monkey.log")), args.minutes, origin=0.0)
    checker.exit(status, log_text, err_text)
    for path, _, _, device_lost in plan.dumps:
        if os.path.exists(path):
            checker.state(path, json.load(open(path)), device_lost)
        else:
            checker.expect(False, path, "no dump written (the program stopped before it)")
    checker.sound_device_log(plan.counts.get("sound device lost", 0),
                             plan.counts.get("sound device back", 0))
    peak = checker.memory()
    checker.cover()
    print(f"seed {seed}, {args.minutes:g} virtual minutes, {len(plan.actions)} actions "
          f"({', '.join(f'{k} {v}' for k, v in sorted(plan.counts.items()))}), "
          f"{len(plan.dumps)} dumps ({sum(d[3] for d in plan.dumps)} with no sound device), "
          f"{checker.checks} invariant checks, {time.monotonic() - started:.0f} s wall")
    summary(checker, peak)
    if checker.failures:
        first = checker.failures[0][0]
        upto = next((dump[1] for dump in plan.dumps if dump[0] == first), len(plan.actions))
        report_failure(seed, args.minutes, plan, checker, work, upto)
        return 1
    if not args.work:
        shutil.rmtree(work, ignore_errors=True)
    print("PASS")
    return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--program", default=os.path.join(REPO, "build", "lumo-book"))
    parser.add_argument("--minutes", type=float, default=3.0)
    parser.add_argument("--seed", type=int, default=None)
    parser.add_argument("--targets", help="the survey's table: read if it exists, else written")
    parser.add_argument("--work", help="keep the script, the log and the dumps here")
    parser.add_argument("--dump-every", type=int, default=5)
    parser.add_argument("--window", action="store_true",
                        help="a real window on an X server of its own, in real time")
    parser.add_argument("--dump-seconds", type=float, default=3.0,
                        help="in a window: the seconds of frames between dumps")
    args = parser.parse_args()
    seed = args.seed if args.seed is not None else random.randrange(1 << 31)
    args.program = os.path.abspath(args.program)
    work = os.path.abspath(args.work) if args.work else tempfile.mkdtemp(prefix="monkey-")
    os.makedirs(work, exist_ok=True)
    env = dict(os.environ)
    for name in ("XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_DATA_HOME"):
        env[name] = os.path.join(work, name.lower())

    if args.targets and os.path.exists(args.targets):
        targets = json.load(open(args.targets))
    else:
        targets = survey(args.program, work, env)
        if args.targets:
            with open(args.targets, "w") as f:
                json.dump(targets, f, indent=1)
        shutil.rmtree(os.path.join(work, "xdg_config_home"), ignore_errors=True)
    return (run_window if args.window else run_headless)(args, seed, targets, work, env)


if __name__ == "__main__":
    sys.exit(main())
