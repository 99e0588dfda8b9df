#include "lumoBookNames.h"

#include "lmStageInfo.h"

namespace lumoBookNames {

bool isNarrationFile(const std::string& fileName) {
  return fileName.rfind(kNarrationPrefix, 0) == 0;
}

std::string narrationRecording(int page, const char* suffix) {
  return kNarrationPrefix + (kNarrationPagePrefix + std::to_string(page)) + suffix;
}

std::string dialogueRecording(const std::string& line) {
  return line + kRussianSuffix;
}

std::string dialogueRecording(const std::string& line, int language,
                              const std::function<bool(const std::string&)>& exists) {
  if (language == lmStageInfo::kLangEnglish) {
    const std::string english = line + kChineseSuffix;
    if (exists(english)) return english;
  }
  return dialogueRecording(line);
}

bool isFigureLayer(const std::string& identifier) {
  return lumoLayerSuffix(identifier) == kFigureLayerSuffix;
}

bool isLanguageLayer(const std::string& identifier) {
  return lumoLayerSuffix(identifier) == kLanguageLayerSuffix;
}

}  // namespace lumoBookNames

std::string lumoLayerSuffix(const std::string& identifier) {
  const auto first = identifier.find('-');
  if (first == std::string::npos) return {};
  const auto second = identifier.find('-', first + 1);
  return identifier.substr(first + 1,
                           second == std::string::npos ? std::string::npos : second - first - 1);
}
