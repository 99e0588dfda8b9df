#include "PanelDump.h"

#include "lumoWorld.h"

nlohmann::json dumpPanel(lumoWorld* world) {
  nlohmann::json words = nlohmann::json::array(), sentences = nlohmann::json::array();
  if (world) {
    for (const lumoWordTaps::Word& word : world->wordTaps().words()) {
      const CGRect& r = word.rect;
      words.push_back({{"index", word.index},
                       {"text", word.text},
                       {"rect", {r.origin.x, r.origin.y, r.size.width, r.size.height}}});
    }
    for (const lmSentences::Sentence& s : world->panelSentences())
      sentences.push_back({s.firstWord, s.lastWord});
  }
  return {{"words", words}, {"sentences", sentences}};
}
