// Main-thread cost of starting the longest narration through the book's sound
// player, on the sound card back end (SDL's dummy device where there is no
// card) and on the virtual one, with and without the decoded sound at hand.
// Run from the build folder, or with LUMO_ASSETS pointing at the recordings.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "AudioBackend.h"
#include "KstSound.h"
#include "NSBundle.h"
#include "NSRunLoop.h"

namespace {

// The narration with the most audio, judged by file size (all share one bitrate).
std::string longestNarration() {
  std::string best;
  std::uintmax_t bestSize = 0;
  for (const std::string& dir : NSBundle::mainBundle().searchPaths()) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
      const std::string file = entry.path().filename().string();
      if (file.rfind("QRB", 0) != 0 || entry.path().extension() != ".mp3") continue;
      if (entry.file_size() > bestSize) {
        bestSize = entry.file_size();
        best = entry.path().stem().string();
      }
    }
  }
  return best;
}

void playNarration(benchmark::State& state, bool useVirtual, bool cold) {
  AudioBackend::setUseVirtualBackend(useVirtual);
  const std::string name = longestNarration();
  if (name.empty()) {
    state.SkipWithError("no narration recordings found; set LUMO_ASSETS");
    return;
  }
  KstSound* sound = KstSound::shared();
  sound->playSoundWithName(name, "mp3");  // opens the device outside the timing
  for (auto _ : state) {
    if (cold) {
      state.PauseTiming();
      sound->cancelSound();
      AudioBackend::shared().purgeCache();
      state.ResumeTiming();
    }
    sound->playSoundWithName(name, "mp3");
    benchmark::DoNotOptimize(sound->player());
  }
  state.SetLabel(name);
  sound->releasePlayers();
  AudioBackend::shared().shutdown();
  NSRunLoop::mainRunLoop().reset();
}

void BM_PlayNarrationCardCold(benchmark::State& state) {
  playNarration(state, false, true);
}
void BM_PlayNarrationCardWarm(benchmark::State& state) {
  playNarration(state, false, false);
}
void BM_PlayNarrationVirtualCold(benchmark::State& state) {
  playNarration(state, true, true);
}

void BM_DecodeNarration(benchmark::State& state) {
  AudioBackend::setUseVirtualBackend(true);
  const std::string path = NSBundle::mainBundle().pathForResource(longestNarration(), "mp3");
  AudioPcm pcm;
  for (auto _ : state) benchmark::DoNotOptimize(AudioBackend::shared().decodeFile(path, pcm));
  state.SetLabel(std::to_string(pcm.duration()) + " s of sound");
  AudioBackend::shared().shutdown();
}

}  // namespace

BENCHMARK(BM_PlayNarrationCardCold)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlayNarrationCardWarm)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlayNarrationVirtualCold)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeNarration)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  // Never a real card in a benchmark: timings must not depend on the machine's sound.
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
