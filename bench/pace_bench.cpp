// What the reader's pace costs: the main thread's cost of starting the
// longest narration stretched to the slow pace against starting it as
// recorded, through the book's sound player on the sound card back end (SDL's
// dummy device), with the decoded sound not at hand (cold) and decoded ahead
// (warm); how long the sound then takes to start (the worker decodes and
// stretches meanwhile); and the stretch itself, which is why it runs on the
// worker: it does not fit in a frame. Run from the build folder, or with
// LUMO_ASSETS pointing at the recordings.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "AudioBackend.h"
#include "AudioTimeStretch.h"
#include "KstSound.h"
#include "NSBundle.h"
#include "NSRunLoop.h"

namespace {

constexpr double kSlow = 0.8;

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

// Runs the main run loop until the decode has come back and the voice has started.
void waitForVoice() {
  while (AudioBackend::shared().voiceCount() == 0) {
    NSRunLoop::mainRunLoop().runDue();
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
}

void startNarration(benchmark::State& state, double tempo, bool cold) {
  AudioBackend::setUseVirtualBackend(false);
  const std::string name = longestNarration();
  if (name.empty()) {
    state.SkipWithError("no narration recordings found; set LUMO_ASSETS");
    return;
  }
  KstSound* sound = KstSound::shared();
  sound->setVoiceTempo(tempo);
  sound->playSoundWithName(name, "mp3");  // opens the device, decodes once
  waitForVoice();
  double toSound = 0;
  for (auto _ : state) {
    state.PauseTiming();
    sound->cancelSound();
    if (cold) AudioBackend::shared().purgeCache();
    state.ResumeTiming();
    sound->playSoundWithName(name, "mp3");
    benchmark::DoNotOptimize(sound->player());
    state.PauseTiming();
    const auto start = std::chrono::steady_clock::now();
    waitForVoice();
    toSound +=
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    state.ResumeTiming();
  }
  state.counters["until_heard_ms"] = toSound / double(state.iterations());
  state.SetLabel(name + (tempo == 1 ? " as recorded" : " slow"));
  sound->releasePlayers();
  sound->setVoiceTempo(1);
  AudioBackend::shared().shutdown();
  NSRunLoop::mainRunLoop().reset();
}

void BM_StartNarrationCold(benchmark::State& state) {
  startNarration(state, 1, true);
}
void BM_StartNarrationSlowCold(benchmark::State& state) {
  startNarration(state, kSlow, true);
}
void BM_StartNarrationWarm(benchmark::State& state) {
  startNarration(state, 1, false);
}
void BM_StartNarrationSlowWarm(benchmark::State& state) {
  startNarration(state, kSlow, false);
}

// The stretch alone, on the decoded narration.
void BM_StretchNarration(benchmark::State& state) {
  AudioBackend::setUseVirtualBackend(true);
  const std::string path = NSBundle::mainBundle().pathForResource(longestNarration(), "mp3");
  AudioPcm pcm;
  if (path.empty() || !AudioBackend::shared().decodeFile(path, pcm)) {
    state.SkipWithError("no narration recordings found; set LUMO_ASSETS");
    return;
  }
  const double tempo = double(state.range(0)) / 100;
  const std::size_t frames = pcm.samples.size() / std::size_t(pcm.channels);
  for (auto _ : state)
    benchmark::DoNotOptimize(
        AudioTimeStretch::stretch(pcm.samples.data(), frames, pcm.channels, pcm.sampleRate, tempo));
  state.SetLabel(std::to_string(pcm.duration()) + " s of sound at " + std::to_string(tempo));
  AudioBackend::shared().shutdown();
}

}  // namespace

BENCHMARK(BM_StartNarrationCold)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_StartNarrationSlowCold)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_StartNarrationWarm)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_StartNarrationSlowWarm)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_StretchNarration)->Arg(80)->Arg(120)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  // Never a real card in a benchmark: timings must not depend on the machine's sound.
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
