#include "lmTakeKeeper.h"

#include "OggVorbis.h"
#include "lmOwnVoiceStore.h"
#include "lmOwnVoiceWords.h"

lmTakeKeeper::Result lmTakeKeeper::keep(Request request, lmOwnVoiceStore& store) {
  Result result;
  const lmVoiceTake take(std::move(request.heard), request.sampleRate);
  result.figures = take.figures();
  if (!take.hasEnoughSpeech()) {
    result.outcome = Outcome::TooShort;
    return result;
  }
  std::string ogg;
  if (!OggVorbis::encode(take.samples(), take.sampleRate(), OggVorbis::kSpeechQuality, ogg,
                         result.error)) {
    result.outcome = Outcome::NotEncoded;
    return result;
  }
  result.bytes = ogg.size();
  const lmSpeechActivity speech(take.samples(), take.sampleRate());
  const std::string words =
      lmOwnVoiceWords::wordsFile(lmOwnVoiceWords::starts(speech, request.text), request.text);
  result.outcome = store.keep(request.language, request.name, ogg, words, result.error)
                       ? Outcome::Kept
                       : Outcome::NotWritten;
  return result;
}
