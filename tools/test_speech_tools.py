"""Tests of the recording generator and the recogniser check (run by CTest)."""

import array
import json
import os
import statistics
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_speech  # noqa: E402
import compare_russian_voices as compare  # noqa: E402
import make_audio  # noqa: E402

TOOLS = os.path.dirname(os.path.abspath(__file__))
NAMES = {"ryzhik": (2, "a name"), "pugovka": (3, "a name")}


class WordErrorRate(unittest.TestCase):
    def counts(self, text, heard, exceptions=None):
        return check_speech.align(check_speech.normalise(text), check_speech.normalise(heard),
                                  exceptions or {})

    def test_normalise_keeps_apostrophes_and_drops_marks(self):
        self.assertEqual(check_speech.normalise("\u201cI\u2019ll climb\u2026\u201d said Bublik. "
                                                "'Tis the star's-light!"),
                         ["i'll", "climb", "said", "bublik", "tis", "the", "star's", "light"])

    def test_each_kind_of_error_is_counted_once(self):
        self.assertEqual(self.counts("the little star", "the little star"), (0, 0, 0, 3))
        self.assertEqual(self.counts("the little star", "the little stop"), (1, 0, 0, 3))
        self.assertEqual(self.counts("the little star", "the star"), (0, 1, 0, 3))
        self.assertEqual(self.counts("the little star", "oh the little star now"), (0, 0, 2, 3))
        self.assertEqual(self.counts("one two three four", "two three four five"), (0, 1, 1, 4))

    def test_an_exception_stands_for_up_to_its_allowance_of_heard_words(self):
        self.assertEqual(self.counts("asked ryzhik mama", "asked rise it mama", NAMES),
                         (0, 0, 0, 2))
        self.assertEqual(self.counts("asked ryzhik mama", "asked mama", NAMES), (0, 0, 0, 2))
        # A third heard word is more than the name's allowance: one insertion.
        self.assertEqual(self.counts("asked ryzhik mama", "asked rise it up mama", NAMES),
                         (0, 0, 1, 2))
        self.assertEqual(self.counts("pugovka sang", "pool go far sang", NAMES), (0, 0, 0, 1))

    def test_rate_over_counted_words(self):
        self.assertAlmostEqual(check_speech.word_error_rate(1, 1, 1, 12), 0.25)
        self.assertEqual(check_speech.word_error_rate(0, 0, 0, 0), 0.0)
        self.assertEqual(check_speech.word_error_rate(0, 0, 2, 0), 2.0)

    def test_exceptions_file_is_strict(self):
        with tempfile.NamedTemporaryFile("w", suffix=".tsv", delete=False) as f:
            f.write("# comment\nryzhik\t2\ta name\n\nbublik\ttwo\ta name\n")
        self.addCleanup(os.remove, f.name)
        with self.assertRaises(SystemExit) as raised:
            check_speech.read_exceptions(f.name)
        self.assertIn(":4:", str(raised.exception))

    def test_the_book_exceptions_are_words_the_recogniser_lacks(self):
        exceptions = check_speech.read_exceptions(check_speech.DEFAULT_EXCEPTIONS)
        self.assertIn("ryzhik", exceptions)
        dictionary = check_speech.dictionary_words(check_speech.DICTIONARY)
        vocabulary = check_speech.language_model_words(check_speech.LANGUAGE_MODEL)
        check_speech.refuse_known_exceptions(exceptions, dictionary, vocabulary)
        self.assertIn("meadow", vocabulary)
        with self.assertRaises(SystemExit):
            check_speech.refuse_known_exceptions({"meadow": (2, "")}, dictionary, vocabulary)


class WordTimings(unittest.TestCase):
    def test_festival_words_fold_clitics_drop_marks_and_follow_utterances(self):
        lines = ["0\t0.1\tLet\n", "0\t0.3\t's\n", "0\t0.0\t\"\n", "0\t0.5\tgo\n",
                 "1\t0.2\tHome\n"]
        self.assertEqual(make_audio.festival_words(lines, [0.0, 2.0]),
                         [(0.1, "Let's"), (0.5, "go"), (2.2, "Home")])

    def test_times_must_rise_and_start_inside_the_recording(self):
        make_audio.check_words([(0.2, "a"), (0.2, "b"), (0.9, "c")], 1.0)
        with self.assertRaisesRegex(RuntimeError, "backwards at 'c'"):
            make_audio.check_words([(0.2, "a"), (0.5, "b"), (0.4, "c")], 1.0)
        with self.assertRaisesRegex(RuntimeError, "after the recording ends"):
            make_audio.check_words([(0.2, "a"), (1.0, "b")], 1.0)
        with self.assertRaises(RuntimeError):
            make_audio.check_words([], 1.0)

    def test_every_word_of_the_text_needs_a_time(self):
        make_audio.check_words([(0.2, "a"), (0.4, "b")], 1.0, "\u00aba, \u2014 b!\u00bb")
        with self.assertRaisesRegex(RuntimeError, "2 word timings for the 3 words"):
            make_audio.check_words([(0.2, "a"), (0.4, "b")], 1.0, "a b c")

    def test_espeak_events_land_on_the_words_of_the_original_text(self):
        text = "\u00ab\u0425\u043e\u043c\u0430, \u0438\u0434\u0443-\u0438\u0434\u0443!\u00bb " \
               "\u2014 \u0434\u0430."
        spoken = make_audio.espeak_text(text)  # the name becomes a longer respelling
        self.assertNotEqual(len(spoken), len(text))
        hyphen = spoken.index("-")
        events = ["100\t1\t9",                      # the respelled name
                  "400\t%d\t3" % (hyphen - 3),       # "иду-иду" is spoken as two words
                  "600\t%d\t3" % (hyphen + 1),
                  "700\t%d\t0" % (hyphen + 6),       # a clause end between words
                  "900\t%d\t0" % (len(spoken) - 3)]  # the last word, no length
        self.assertEqual(make_audio.espeak_words(events, spoken, text),
                         [(0.1, "\u0425\u043e\u043c\u0430"),
                          (0.4, "\u0438\u0434\u0443-\u0438\u0434\u0443"),
                          (0.9, "\u0434\u0430")])
        with self.assertRaisesRegex(RuntimeError, "no time for the word"):
            make_audio.espeak_words(events[:2], spoken, text)

    def test_festival_text_has_only_marks_festival_knows(self):
        self.assertEqual(make_audio.festival_text(
            "\u00ab\u041f\u043e\u0439\u0434\u0451\u043c!\u00bb \u2014 \u0441\u043a\u0430\u0437"
            "\u0430\u043b. \u201cI\u2019ll see\u2026\u201d"),
            "\u041f\u043e\u0439\u0434\u0451\u043c!, \u0441\u043a\u0430\u0437\u0430\u043b. "
            "I'll see...")

    def test_espeak_respells_whole_words_in_any_case(self):
        self.assertEqual(make_audio.espeak_text("\u00ab\u0425\u043e\u043c\u0430, "
                                                "\u0445\u043e\u043c\u0430 "
                                                "\u0425\u043e\u043c\u044f\u043a!\u00bb"),
                         "\u00ab[[xVm'a]], [[xVm'a]] \u0425\u043e\u043c\u044f\u043a!\u00bb")

    def test_espeak_stresses_the_names_as_the_book_does(self):
        for word in ("\u0445\u043e\u043c\u0430", "\u0440\u044b\u0436\u0438\u043a\u0443",
                     "\u0431\u0443\u0431\u043b\u0438\u043a",
                     "\u0437\u0432\u0451\u0437\u0434\u043e\u0447\u043a\u0443"):
            self.assertEqual(compare.espeak_stress(word, "ru+f5"), compare.expected_stress(word),
                             word)

    def test_voices_by_recording(self):
        self.assertEqual(make_audio.settings_for("QRB_p3", "en")["engine"], "festival")
        self.assertEqual(make_audio.settings_for("dialogue_page3_b1_ru", "ru"),
                         make_audio.FIGURES["b"])
        self.assertEqual(make_audio.settings_for("dialogue_page3_z1_ru", "ru"),
                         make_audio.DEFAULT_FIGURE)
        # The English lines: each figure its own voice, none the narrator's.
        self.assertEqual(make_audio.settings_for("dialogue_page3_b1_cn", "en"),
                         make_audio.FIGURES_EN["b"])
        self.assertEqual(make_audio.settings_for("dialogue_page3_z1_cn", "en"),
                         make_audio.DEFAULT_FIGURE_EN)
        voices = [json.dumps(v, sort_keys=True) for v in make_audio.FIGURES_EN.values()]
        voices.append(json.dumps(make_audio.NARRATOR["en"], sort_keys=True))
        self.assertEqual(len(set(voices)), len(voices))
        self.assertEqual(set(make_audio.FIGURES_EN), set(make_audio.FIGURES))

    def test_sox_effects_are_refused_where_words_are_timed(self):
        with tempfile.TemporaryDirectory() as work:
            with self.assertRaisesRegex(RuntimeError, "word timings"):
                make_audio.speak("Hello.", make_audio.FIGURES_EN["b"], os.path.join(work, "a.mp3"),
                                 os.path.join(work, "a.words"), work)


class VoiceMeasures(unittest.TestCase):
    def test_expected_stress_of_names_and_yo_words(self):
        self.assertEqual(compare.expected_stress("\u0445\u043e\u043c\u0430"), 1)
        self.assertEqual(compare.expected_stress("\u0437\u0432\u0451\u0437\u0434\u0430"), 0)
        self.assertEqual(compare.expected_stress("\u043f\u043e\u0439\u0434\u0451\u043c"), 1)
        self.assertIsNone(compare.expected_stress("\u043b\u0435\u0441"))

    def test_a_run_of_marks_is_one_place_to_pause(self):
        self.assertEqual(len(compare.PUNCTUATION.findall("a, b!\u00bb \u2014 c\u2026 d: e")), 4)

    def test_pauses_and_speech_time_of_a_made_up_signal(self):
        rate = 1000
        tone = [8000 if i % 4 < 2 else -8000 for i in range(300)]
        x = array.array("h", [0] * 100 + tone + [0] * 200 + tone + [0] * 50 + tone + [0] * 100)
        seconds, pauses = compare.speech_and_pauses(x, rate)
        self.assertAlmostEqual(seconds, 1.15, delta=0.02)
        self.assertEqual(len(pauses), 1)  # the 50 ms gap is too short to count
        self.assertAlmostEqual(pauses[0], 0.2, delta=0.02)

    def test_pitch_of_a_pulse_train(self):
        rate = 8000
        x = array.array("h", [12000 if i % 40 == 0 else 0 for i in range(rate)])
        f0 = compare.pitch_track(x, rate)
        self.assertGreater(len(f0), 40)
        self.assertAlmostEqual(statistics.median(f0), 200, delta=2)


class Generator(unittest.TestCase):
    """Runs the real generator on a two-line book."""

    def setUp(self):
        self.dir = tempfile.TemporaryDirectory(prefix="test_speech_tools-")
        self.addCleanup(self.dir.cleanup)
        root = self.dir.name
        self.content, self.out = os.path.join(root, "content"), os.path.join(root, "out")
        self.manifest = os.path.join(root, "manifest.json")
        os.makedirs(os.path.join(self.content, "text"))
        self.write_text("In the kitchen, Mama was baking pies.")

    def write_text(self, text):
        for name in ("QRB_p3", "QRB_p3_cn"):
            with open(os.path.join(self.content, "text", name + ".txt"), "w") as f:
                f.write(text)
        with open(os.path.join(self.content, "recordings.tsv"), "w") as f:
            f.write("QRB_p3\ten\ttext/QRB_p3.txt\nQRB_p3_cn\ten\ttext/QRB_p3_cn.txt\n")

    def generate(self, extra=()):
        result = subprocess.run([sys.executable, os.path.join(TOOLS, "make_audio.py"),
                                 "--content", self.content, "--out", self.out, "--manifest",
                                 self.manifest, "--jobs", "2", *extra], stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, check=True)
        return result.stdout.decode()

    def words(self, name):
        with open(os.path.join(self.out, name + ".words")) as f:
            return [line.rstrip("\n").split("\t") for line in f]

    def test_speaks_once_times_every_word_and_caches(self):
        self.assertIn("4 made, 0 up to date", self.generate())
        words = self.words("QRB_p3")
        self.assertEqual([w for _, w in words], "In the kitchen Mama was baking pies".split())
        starts = [float(t) for t, _ in words]
        self.assertEqual(starts, sorted(starts))
        self.assertGreaterEqual(starts[0], make_audio.LEAD_IN)
        self.assertEqual(words, self.words("QRB_p3_cn"))
        with open(self.manifest) as f:
            manifest = json.load(f)
        self.assertEqual(manifest["QRB_p3"], manifest["QRB_p3_cn"])

        mp3 = os.path.join(self.out, "QRB_p3.mp3")
        made = os.path.getmtime(mp3)
        self.assertIn("0 made, 4 up to date", self.generate())
        self.assertEqual(os.path.getmtime(mp3), made)

        self.write_text("Ryzhik went out.")
        self.assertIn("2 made, 2 up to date", self.generate())
        self.assertEqual([w for _, w in self.words("QRB_p3")], ["Ryzhik", "went", "out"])

    @unittest.skipUnless(os.environ.get("LUMO_SPEAK_WORDS"), "the word timer is not built")
    def test_russian_narration_is_timed_word_by_word(self):
        # A respelled name, a hyphenated word, a dash and a closing quote.
        text = ("\u0414\u0430, \u0425\u043e\u043c\u0430, \u0438\u0434\u0443-\u0438\u0434"
                "\u0443!\u00bb \u2014 \u043a\u0440\u0438\u043a\u043d\u0443\u043b\u0430 "
                "\u043c\u0430\u043c\u0430.")
        with open(os.path.join(self.content, "text", "QRB_p2_ru.txt"), "w") as f:
            f.write(text)
        with open(os.path.join(self.content, "recordings.tsv"), "a") as f:
            f.write("QRB_p2_ru\tru\ttext/QRB_p2_ru.txt\n")
        self.generate(["--speak-words", os.environ["LUMO_SPEAK_WORDS"]])
        words = self.words("QRB_p2_ru")
        self.assertEqual([w for _, w in words], [text[0:2], text[4:8], text[10:17], text[22:30],
                                                 text[31:35]])
        starts = [float(t) for t, _ in words]
        self.assertEqual(starts, sorted(set(starts)))
        self.assertGreaterEqual(starts[0], make_audio.LEAD_IN)
        duration = float(make_audio.run(["sox", "--i", "-D",
                                         os.path.join(self.out, "QRB_p2_ru.mp3")]))
        self.assertLess(starts[-1], duration - make_audio.LEAD_OUT)

    def test_russian_narration_without_the_word_timer_fails(self):
        with open(os.path.join(self.content, "text", "QRB_p2_ru.txt"), "w") as f:
            f.write("\u0414\u0430.")
        with open(os.path.join(self.content, "recordings.tsv"), "a") as f:
            f.write("QRB_p2_ru\tru\ttext/QRB_p2_ru.txt\n")
        with self.assertRaises(subprocess.CalledProcessError) as failure:
            self.generate()
        self.assertIn(b"needs --speak-words", failure.exception.stderr)

    def test_a_lost_words_file_is_made_again(self):
        self.generate()
        os.remove(os.path.join(self.out, "QRB_p3.words"))
        self.assertIn("1 made, 3 up to date", self.generate())
        self.assertTrue(os.path.exists(os.path.join(self.out, "QRB_p3.words")))


if __name__ == "__main__":
    unittest.main()
