#include "lmOwnVoices.h"

lmOwnVoices& lmOwnVoices::shared() {
  static lmOwnVoices voices;
  return voices;
}

std::string lmOwnVoices::recordingHeardFor(std::int32_t language, const std::string& name) const {
  if (!heard_ || !store_.has(language, name)) return {};
  return store_.recordingPath(language, name);
}
