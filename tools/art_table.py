"""Every picture the book asks for, with its exact pixel size.

The page layers are listed by their layout lines (identifier + layer id + size |
scale | location | rotation), exactly as the book's content table holds them, so
that the generator, the contact sheets and the image check share one source.
"""

GROUND = "ground{p}+0+1024,2000|1,1|0,30,0|-90,0,0"
BACKGROUND = "background{p}+10+{w},722|1.0,1.0|0,100,0|90,0,0"

# Picture-layer lines of every page, in page-list order.
LAYERS = {
    1: [
        "s1layer1+1+1024,219|0.6,0.6|0,-220,0|90,0,0",
        "s1layer2l-t+2+258,348|0.5,0.5|-40,-180,0|90,0,0",
        "s1layer2r-t+2+449,517|0.5,0.5|40,-180,0|90,0,0",
        "s1layer3-cn+3+824,280|1,1|0,-100,230|90,0,0",
        "s1layer5-cn+3+569,300|1,1|0,-100,230|90,0,0",
        "s1layer4+4+826,627|1.1,1.1|0,-50,0|90,0,0",
    ],
    2: [
        "s2layer1-t+1+527,545|0.5,0.5|-20,-220,0|90,0,0",
        "s2layer2-t+2+216,224|0.8,0.8|100,-180,0|90,0,0",
        "s2layer3+3+1024,716|0.9,0.8|0,-50,0|90,0,0",
    ],
    3: [
        "s3layer1+1+1100,301|0.6,0.6|0,-180,0|90,0,0",
        "s3layer2l-t+2+561,637|0.5,0.5|-60,-130,0|90,0,0",
        "s3layer2r-t+2+333,372|0.5,0.5|40,-120,0|90,0,0",
        "s3layer3+3+736,769|1.0,0.7|-50,-50,0|90,0,0",
    ],
    4: [
        "s4layer1+1+347,668|0.8,0.7|-50,-180,0|90,0,0",
        "s4layer2l-t+2+537,542|0.5,0.5|30,-120,0|90,0,0",
        "s4layer2r-t+2+245,398|0.5,0.5|125,-120,0|90,0,0",
        "s4layer3+3+1024,800|1.0,0.9|0,-50,0|90,0,0",
    ],
    5: [
        "s5layer1+1+1424,768|0.6,0.6|0,-180,0|90,0,0",
        "s5layer2-t+2+259,409|0.7,0.8|0,-120,0|90,0,0",
        "s5layer3+3+699,800|1.0,0.9|0,-50,0|90,0,0",
    ],
    6: [
        "s6layer1+1+1062,538|0.7,0.85|0,-180,0|90,0,0",
        "s6layer2-t+2+494,645|0.7,0.7|20,-120,0|90,0,0",
        "s6layer3+3+621,646|1.1,0.8|0,-50,0|90,0,0",
    ],
    7: [
        "s7layer1+1+672,671|0.6,0.7|0,-180,0|90,0,0",
        "s7layer2+2+1024,538|0.8,1.0|0,-120,0|90,0,0",
        "s7layer3-t+3+817,670|1.0,0.9|0,-50,0|90,0,0",
    ],
    8: [
        "s8layer1+1+403,768|0.65,0.65|90,-180,0|90,0,0",
        "s8layer2-t+2+653,432|0.8,0.8|0,-120,0|90,0,0",
        "s8layer3+3+985,680|0.9,0.9|0,-50,0|90,0,0",
    ],
    9: [
        "s9layer2+2+1089,768|0.6,0.7|0,-180,0|90,0,0",
        "s9layer3-t+3+493,483|0.8,0.8|-90,-50,0|90,0,0",
    ],
    10: [
        "s10layer1+1+1324,768|0.55,0.6|10,-120,0|90,0,0",
        "s10layer2-t+2+1024,768|0.65,0.65|0,-50,0|90,0,0",
    ],
    11: [
        "s11layer1+1+596,768|0.7,0.6|30,-220,0|90,0,0",
        "s11layer2+2+1024,635|0.6,0.7|0,-180,0|90,0,0",
        "s11layer4-t+4+274,420|1.0,1.0|-70,-20,0|90,0,0",
    ],
    12: [
        "s12layer1+1+1024,768|0.6,0.6|0,-220,0|90,0,0",
        "s12layer2-t+2+768,768|0.6,0.6|0,-180,0|90,0,0",
    ],
    13: [
        "s13layer2+2+1524,768|0.6,0.7|0,-120,0|90,0,0",
        "s13layer3-t+3+253,300|1.0,1.0|-70,-50,0|90,0,0",
        "s13layer4l-t+4+212,449|1.0,1.0|-160,-20,0|90,0,0",
        "s13layer4r-t+4+230,517|1.0,1.0|-0,-20,0|90,0,0",
    ],
    14: [
        "s14layer1+1+685,768|0.4,0.55|0,-220,0|90,0,0",
        "s14layer2-t+2+911,768|0.5,0.5|-50,-180,0|90,0,0",
        "s14layer3-t+3+441,632|0.7,0.7|110,-120,0|90,0,0",
    ],
    15: [
        "s15layer1+1+376,193|0.5,0.5|-80,-220,0|90,0,0",
        "s15layer2-t+2+1021,387|0.65,0.65|0,-160,0|90,0,0",
        "s15layer3+3+1024,603|0.8,0.9|0,-120,0|90,0,0",
        "s15layer4-t+3+255,430|0.9,0.9|-60,-50,0|90,0,0",
    ],
    16: [
        "s16layer1l-t+1+426,599|0.5,0.5|-120,-180,0|90,0,0",
        "s16layer1r-t+1+262,433|0.5,0.5|-60,-160,0|90,0,0",
        "s16layer2+2+1024,768|0.8,0.8|0,-120,0|90,0,0",
        "s16layer3-t+3+283,391|1.0,1.0|60,-50,0|90,0,0",
    ],
    17: [
        "s17layer2-t+2+1319,495|0.45,0.5|10,-220,0|90,0,0",
        "s17layer3-t+2+393,463|0.9,0.9|-100,-50,0|90,0,0",
    ],
    18: [
        "s18layer2-cn+3+335,367|1,1|0,-100,230|90,0,0",
        "s18layer3-cn+3+310,376|1,1|0,-100,230|90,0,0",
        "s18layer4+4+826,627|1.1,1.1|0,-50,0|90,0,0",
    ],
}

PAGE_COUNT = 18

# Controls, hints and the backdrop: name -> (width, height). Sizes follow the
# planes the book builds them on; layer_bg is stretched over a 3x page-sized
# plane behind everything, so it is kept at page size.
CONTROLS = {
    "layer_bg": (1024, 768),
    "aside_bg": (1024, 151),
    "aside_repeat_highlighted": (32, 32),
    "hint_dialogue": (34, 35),
    "home_iPad_normal": (60, 60),
    "home_iPad_down": (60, 60),
    "menu-end": (399, 279),
    "menu-end-btn": (266, 57),
    "text_replay_ru": (84, 19),
    "text_moreapps_ru": (131, 19),
    "hint_finger": (65, 59),
    "hint_arrow_up": (21, 23),
    "menu-lan": (499, 98),
    "menu-btn": (123, 40),
    "menu-btn-highlighted": (123, 40),
    "english": (96, 19),
    "english_default": (96, 19),
    "chinese": (53, 26),
    "chinese_default": (53, 26),
    # The credits page is 463 x 721 points; its title sits on top, the content
    # picture under it, the back button at the bottom.
    "credits_title": (463, 120),
    "credits_content": (463, 300),
    "credits_back": (140, 48),
}


def page_lines(p):
    """The page's layout lines: ground, picture layers, background."""
    width = 1021 if p == 15 else 1024
    return [GROUND.format(p=p)] + LAYERS[p] + [BACKGROUND.format(p=p, w=width)]


class Layer:
    """One parsed layout line."""

    def __init__(self, page, line):
        ident, layer_id, geometry = line.split("+")[:3]
        groups = [[float(v) for v in g.split(",")] for g in geometry.split("|")]
        self.page = page
        self.name = ident
        self.layer_id = int(layer_id)
        self.width, self.height = int(groups[0][0]), int(groups[0][1])
        self.scale = (groups[1][0], groups[1][1])
        self.location = tuple(groups[2][:3])
        self.rotation = tuple(groups[3][:3])

    @property
    def suffix(self):
        parts = self.name.split("-")
        return parts[1] if len(parts) > 1 else ""

    @property
    def kind(self):
        if self.layer_id == 0:
            return "ground"
        if self.layer_id == 10:
            return "background"
        return {"t": "figure", "cn": "title"}.get(self.suffix, "scenery")


def page_layers(p):
    return [Layer(p, line) for line in page_lines(p)]


def all_layers():
    return [layer for p in range(1, PAGE_COUNT + 1) for layer in page_layers(p)]


def all_images():
    """name -> (width, height, kind) for every picture the build must produce."""
    images = {}
    for layer in all_layers():
        images[layer.name] = (layer.width, layer.height, layer.kind)
    for name, (w, h) in CONTROLS.items():
        images[name] = (w, h, "backdrop" if name == "layer_bg" else "control")
    return images
