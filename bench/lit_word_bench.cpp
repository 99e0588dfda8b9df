// Lighting the next word of a narration panel: what the main thread pays
// each time the word being read changes (a few times a second), against
// rendering the same text plain. The panel's own text, font and box: page 2,
// both languages.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "CCConfiguration.h"
#include "CCLabelTTF.h"
#include "EAGLContext.h"
#include "KstStage.h"
#include "Log.h"
#include "NSAutoreleasePool.h"
#include "NSStringDrawing.h"
#include "UIFont.h"
#include "lmAsideGeometry.h"
#include "lmWordTimings.h"

namespace {
constexpr const char* kFont = "ArialRoundedMTBold";

struct Panel {
  Ptr<EAGLContext> context;
  Ptr<CCLabelTTF> label;
  std::vector<lmWordTimings::Span> words;

  explicit Panel(int language) {
    context = EAGLContext::contextWithAPI(kEAGLRenderingAPIOpenGLES1);
    if (context) EAGLContext::setCurrentContext(context.get());
    CCConfiguration::sharedConfiguration();
    setLogLevel(LogLevel::Error);
    const std::string text = KstStage::stage()->asideForStage(2).at(language == 2000 ? 1 : 2);
    const float size = lmAsideGeometry::fontSize(false);
    auto font = UIFont::fontWithName(kFont, size);
    const CGSize box = NSStringDrawing::sizeWithFont(text, *font, lmAsideGeometry::textBox(1024),
                                                     UILineBreakModeHeadTruncation);
    label = CCLabelTTF::labelWithString(text, box, UITextAlignmentLeft, kFont, size);
    words = lmWordTimings::wordSpans(text);
  }
};

void BM_LightNextWord(benchmark::State& state) {
  Panel panel(int(state.range(0)));
  if (!panel.label || panel.words.empty()) state.SkipWithError("no panel text");
  std::size_t next = 0;
  for (auto _ : state) {
    const lmWordTimings::Span& word = panel.words[next];
    panel.label->setHighlight(word.begin, word.end, ccc3(255, 186, 64));
    next = (next + 1) % panel.words.size();
    NSAutoreleasePool::current().drain();
  }
  state.counters["words"] = double(panel.words.size());
}
BENCHMARK(BM_LightNextWord)->Arg(2000)->Arg(2001)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_RenderPlain(benchmark::State& state) {
  Panel panel(int(state.range(0)));
  if (!panel.label) state.SkipWithError("no panel text");
  const std::string text = panel.label->string();
  for (auto _ : state) {
    panel.label->setString(text);
    NSAutoreleasePool::current().drain();
  }
}
BENCHMARK(BM_RenderPlain)->Arg(2000)->Arg(2001)->Unit(benchmark::kMillisecond)->MinTime(2);

// Asking again for the word already lit renders nothing.
void BM_SameWordAgain(benchmark::State& state) {
  Panel panel(2000);
  const lmWordTimings::Span& word = panel.words.at(0);
  for (auto _ : state) panel.label->setHighlight(word.begin, word.end, ccc3(255, 186, 64));
}
BENCHMARK(BM_SameWordAgain)->Unit(benchmark::kMicrosecond);
}  // namespace

BENCHMARK_MAIN();
