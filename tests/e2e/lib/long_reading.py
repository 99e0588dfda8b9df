"""The long reading: a child reading the book again and again.

The reading goes forward to the ending page and back again, round after
round: figures tapped, the device tilted, a second drag during every turn, a
narration heard out and repeated, home and replay jumps, the credits opened
and closed, the language changed on the cover. Where the figures and buttons
stand comes from a table (data/long_reading_positions.json) that a survey run
writes; the reading's own dumps confirm every position it uses, so a moved
layout fails the check with the command that renews the table.

    long_reading.py survey WORK                      the survey's script
    long_reading.py positions WORK TABLE             the table, from the survey's dumps
    long_reading.py plan WORK TABLE ROUNDS TAPS [--both]
                                                     the reading's script; its plan beside it
    long_reading.py check WORK                       checks the run, prints its figures
"""
import json
import os
import sys

from views import back_button_centre, centre, contains, find_node

LAST = 18
# The page whose narration is heard to its end and repeated: a short one.
TALK_PAGE = 10
FORWARD, BACK = "drag 512 600 512 400 0.3", "drag 512 400 512 600 0.3"
# Tried while the page turns: the turn lock refuses it.
FORWARD_AGAIN, BACK_AGAIN = "drag 512 620 512 380 0.2", "drag 512 380 512 620 0.2"
TILTS = ("accel 0.3 -0.85 0.2", "accel -0.3 -0.85 0.2", "accel 0 -1 0")
RENEW = "renew it: bash tests/e2e/long_reading.sh build/lumo-book --survey"


def _nodes(tree):
    if tree:
        yield tree
        for child in tree.get("children", []):
            yield from _nodes(child)


def _shown(state, name):
    node = find_node(state["world"], name)
    return node if node and node["visible"] and node["screenRect"] else None


def _middle(state, *names):
    """The middle of the first of `names` that is on screen."""
    shown = [n for n in (_shown(state, name) for name in names) if n]
    assert shown, f"none of {names} is on screen"
    return [round(v) for v in centre(shown[0]["screenRect"])]


# MARK: the survey and the table


def survey_script(work):
    lines = ["wait 2.5", f"dump {work}/survey1.json"]
    for page in range(2, LAST + 1):
        lines += [FORWARD, "wait 1.6", f"dump {work}/survey{page}.json"]
        if page == TALK_PAGE:
            # Until the narration has ended and the repeat button shows.
            lines += ["wait 16", f"dump {work}/survey-repeat.json"]
    return "\n".join(lines) + "\n"


def positions(work):
    load = lambda name: json.load(open(f"{work}/{name}.json"))
    pages = {}
    for page in range(1, LAST + 1):
        state = load(f"survey{page}")
        assert state["book"]["page"] == page, (page, state["book"])
        figures = [[n["name"], [round(v) for v in centre(n["screenRect"])]]
                   for n in _nodes(state["world"])
                   if n["name"].endswith("-t") and n["touchEnabled"] and n["screenRect"]]
        pages[str(page)] = {"figures": figures}
        if 2 <= page < LAST:
            pages[str(page)]["home"] = _middle(state, "home-btn")
    cover, last = load("survey1"), load(f"survey{LAST}")
    return {
        "pages": pages,
        # The chosen language's button shows its highlighted twin.
        "language": {"2000": _middle(cover, "menu-btn1", "menu-btn1-highlighted"),
                     "2001": _middle(cover, "menu-btn2", "menu-btn2-highlighted")},
        "replay": _middle(last, "menu-end1"),
        "credits": _middle(last, "menu-end2"),
        "repeat": _middle(load("survey-repeat"), "aside_repeat_highlighted"),
    }


# MARK: the reading


class Plan:
    """The reading's script, with what it must make the book do."""

    def __init__(self, work, table, taps_per_figure, tap_going_back):
        self.work, self.table = work, table
        self.taps_per_figure, self.tap_going_back = taps_per_figure, tap_going_back
        self.lines, self.page = [], 1
        self.settled, self.refused, self.taps, self.turns = [], 0, 0, 0
        self.talks, self.credits, self.languages, self.dumps = 0, [], [], []
        # Positions to confirm: (dump, node names, point).
        self.aims, self.surveyed = [], set()
        layout = os.path.join(os.path.dirname(__file__), "..", "..", "..", "assets", "CreditsView.json")
        self.back_button = [round(v) for v in back_button_centre(json.load(open(layout)))]

    def add(self, *lines):
        self.lines += lines

    def tap(self, point, then=0.1):
        self.add(f"tap {point[0]} {point[1]}", f"wait {then}")
        self.taps += 1

    def dump(self, name):
        self.add(f"dump {self.work}/{name}.json")
        self.dumps.append(name)

    def here(self):
        return self.table["pages"][str(self.page)]

    def look(self):
        """On a page's first visit, a dump to confirm the positions used there."""
        if self.page in self.surveyed:
            return
        self.surveyed.add(self.page)
        name = f"page{self.page}"
        self.dump(name)
        for figure, point in self.here()["figures"]:
            self.aims.append((name, [figure], point))
        if "home" in self.here():
            self.aims.append((name, ["home-btn"], self.here()["home"]))
        if self.page == 1:
            self.aims.append((name, ["menu-btn1", "menu-btn1-highlighted"], self.table["language"]["2000"]))
            self.aims.append((name, ["menu-btn2", "menu-btn2-highlighted"], self.table["language"]["2001"]))
        if self.page == LAST:
            self.aims.append((name, ["menu-end1"], self.table["replay"]))
            self.aims.append((name, ["menu-end2"], self.table["credits"]))

    def turn(self, forward):
        # The request comes 0.18 s into the drag and settles 1.5 s later.
        self.add(FORWARD if forward else BACK, TILTS[0], "wait 0.1",
                 FORWARD_AGAIN if forward else BACK_AGAIN, "wait 1.2")
        self.page += 1 if forward else -1
        self.settled.append(self.page)
        self.turns += 1
        self.refused += 1
        self.look()
        if forward or self.tap_going_back:
            self.figures()
        self.add(*TILTS[1:], "wait 0.05")

    def figures(self):
        for _ in range(self.taps_per_figure):
            for _, point in self.here()["figures"]:
                self.tap(point)

    def jump(self, point):
        """Home or replay: straight back to the cover."""
        self.tap(point, then=1.8)
        self.page = 1
        self.settled.append(1)
        self.turns += 1

    def talk(self):
        """The narration to its end; repeated; a figure interrupts the repeat
        and speaks to its end; the narration repeated once more."""
        n, repeat, figure = self.talks, self.table["repeat"], self.here()["figures"][0][1]
        self.add("wait 14")
        self.dump(f"talk{n}-ended")
        self.aims.append((f"talk{n}-ended", ["aside_repeat_highlighted"], repeat))
        self.tap(repeat, then=0.5)
        self.dump(f"talk{n}-repeated")
        self.tap(figure, then=4.2)
        self.dump(f"talk{n}-spoken")
        self.tap(repeat, then=0.5)
        self.dump(f"talk{n}-again")
        self.talks += 1

    def show_credits(self, round_number):
        self.add("wait 1")
        self.tap(self.table["credits"], then=0.6)
        self.dump(f"credits-open{round_number}")
        self.tap(self.back_button, then=0.6)
        self.dump(f"credits-closed{round_number}")
        self.credits.append(round_number)

    def choose_language(self, language):
        # The cover's title must have risen into view: the change waits for it.
        self.add("wait 0.8")
        self.tap(self.table["language"][language], then=0.8)
        self.languages.append(language)

    def forward_to(self, page, talk=False):
        while self.page < page:
            self.turn(True)
            if talk and self.page == TALK_PAGE:
                self.talk()

    def back_to(self, page):
        while self.page > page:
            self.turn(False)

    def reading(self, rounds):
        """Rounds of three kinds in turn: to the end, the credits, back page
        by page (hearing out one narration on the way); in English, home from
        the middle, to the end, replay; to the end, the credits, back to page
        2, home. (The ending page takes the home button away and only page 2
        puts it back, so on the way back from the end it is there again only
        on page 2.)"""
        self.add("wait 2")
        self.dump("start")
        self.look()
        for n in range(rounds):
            kind = n % 3
            if kind == 0:
                self.forward_to(LAST, talk=True)
                self.show_credits(n)
                self.back_to(1)
            elif kind == 1:
                self.choose_language("2001")
                self.forward_to(TALK_PAGE - 1)
                self.jump(self.here()["home"])
                self.forward_to(LAST)
                self.jump(self.table["replay"])
                self.choose_language("2000")
            else:
                self.forward_to(LAST)
                self.show_credits(n)
                self.back_to(2)
                self.jump(self.here()["home"])
            # Every round reaches the cover the same way last, so that the
            # objects alive there (pictures kept for the pages one turn
            # away, the cover's own animations) compare round by round.
            self.forward_to(2)
            self.back_to(1)
            self.add("wait 1")
            self.dump(f"round{n}")
        return "\n".join(self.lines) + "\n"

    def expected(self):
        return {"settled": self.settled, "refused": self.refused, "taps": self.taps,
                "turns": self.turns, "talks": self.talks, "credits": self.credits,
                "languages": self.languages, "dumps": self.dumps, "aims": self.aims}


# MARK: the check


def check(work):
    """Asserts what the reading must have done; returns its figures."""
    plan = json.load(open(f"{work}/plan.json"))
    log = [line.split(" ", 2) for line in open(f"{work}/reading.log").read().splitlines()]
    events = lambda category: [text for _, c, text in log if c == category]
    load = lambda name: json.load(open(f"{work}/{name}.json"))

    for dump, names, point in plan["aims"]:
        state = load(dump)
        rects = [n["screenRect"] for n in (_shown(state, name) for name in names) if n]
        assert any(contains(r, *point) for r in rects), \
            f"{'/'.join(names)} is no longer at {point} in {dump}: the position table is stale; {RENEW}"

    settled = [int(text.split()[1]) for text in events("page")]
    if settled != plan["settled"]:
        at = next((i for i, (a, b) in enumerate(zip(settled, plan["settled"])) if a != b),
                  min(len(settled), len(plan["settled"])))
        raise AssertionError(f"settle {at + 1} of {len(plan['settled'])} planned: pages settled "
                             f"{settled[max(0, at - 5):at + 5]}, planned "
                             f"{plan['settled'][max(0, at - 5):at + 5]}")
    locked = [t for t in events("turn") if t.startswith("refused") and t.endswith("locked")]
    assert len(locked) == plan["refused"], f"{len(locked)} drags refused during turns, {plan['refused']} made"

    # The narration heard to its end shows the repeat button; each repeat tap
    # hides it and plays the narration again; a figure's dialogue heard to its
    # end shows it again.
    shows = lambda state: find_node(state["world"], "aside_repeat_highlighted")["visible"]
    main = lambda state: state["sound"]["main"]
    for n in range(plan["talks"]):
        ended, repeated, spoken, again = (load(f"talk{n}-{s}") for s in ("ended", "repeated", "spoken", "again"))
        assert shows(ended) and main(ended) == "", f"talk {n}: the narration did not end: {main(ended)!r}"
        assert not shows(repeated) and main(repeated).startswith("QRB"), f"talk {n}: no repeat"
        assert shows(spoken) and main(spoken) == "", f"talk {n}: the dialogue did not end"
        assert not shows(again) and main(again).startswith("QRB"), f"talk {n}: no second repeat"
    dialogues = [t for t in events("sound") if t.startswith("start main dialogue_")]
    assert len(dialogues) >= plan["talks"], f"only {len(dialogues)} dialogues were heard"

    changes = [t.split()[-1] for t in events("language") if t.startswith("changed to")]
    assert changes == plan["languages"], f"language changes {changes}, planned {plan['languages']}"

    tags = lambda state: {v["tag"] for v in _nodes(state["views"])}
    for n in plan["credits"]:
        opened, closed = load(f"credits-open{n}"), load(f"credits-closed{n}")
        assert {1000, 1001} <= tags(opened), f"round {n}: the credits did not open"
        assert not {1000, 1001} & tags(closed), f"round {n}: the credits did not close"
        assert not closed["book"]["lockDrag"], f"round {n}: the book stayed locked after the credits"

    rounds = [load(name) for name in plan["dumps"] if name.startswith("round")]
    for state in rounds:
        book = state["book"]
        assert book["page"] == 1 and not book["lockDrag"] and book["canAccelerometer"], book
    rss = [state["process"]["rssBytes"] for state in rounds]
    live = [state["process"]["liveObjects"] for state in rounds]
    # The first round has loaded every picture; after it memory stays put.
    assert rss[-1] <= rss[0] * 1.10, f"resident memory grew from {rss[0]} to {rss[-1]} bytes"
    assert max(live) == min(live), f"engine objects alive on the cover after each round: {live}"
    return {"turns": plan["turns"], "taps": plan["taps"], "rounds": len(rounds),
            "virtualSeconds": round(rounds[-1]["director"]["time"]),
            "rssMiB": {"start": load("start")["process"]["rssBytes"] >> 20,
                       "firstRound": rss[0] >> 20, "end": rss[-1] >> 20},
            "liveObjects": live}


if __name__ == "__main__":
    command, work = sys.argv[1], sys.argv[2]
    if command == "survey":
        sys.stdout.write(survey_script(work))
    elif command == "positions":
        table = positions(work)
        pages = table.pop("pages")
        lines = [f'  "{page}": {json.dumps(pages[page])}' for page in pages]
        rest = [f' "{key}": {json.dumps(value)}' for key, value in table.items()]
        with open(sys.argv[3], "w") as out:
            out.write('{\n "pages": {\n' + ",\n".join(lines) + "\n },\n" + ",\n".join(rest) + "\n}\n")
    elif command == "plan":
        table, rounds, taps = json.load(open(sys.argv[3])), int(sys.argv[4]), int(sys.argv[5])
        plan = Plan(work, table, taps, "--both" in sys.argv)
        sys.stdout.write(plan.reading(rounds))
        json.dump(plan.expected(), open(f"{work}/plan.json", "w"))
    elif command == "check":
        print(json.dumps(check(work)))
    else:
        sys.exit(f"unknown command {command}")
