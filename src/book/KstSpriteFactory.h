#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "KstSpriteId.h"

// Identifier -> record, one per accepted layout line of a page.
using KstSpriteDictionary = std::map<std::string, Ptr<KstSpriteId>>;

// Turns a page list (page number, then layout lines
// "identifier+layerId+w,h|ws,hs|x,y,z|rx,ry,rz") into layer records.
class KstSpriteFactory {
 public:
  // Writes the page number through outStageIndex (when given) and returns the
  // records. A malformed line is skipped with one logged message naming it;
  // an empty page list writes 0 and returns no records.
  static KstSpriteDictionary createWithStageInfo(const std::vector<std::string>& stageInfo,
                                                 std::int32_t* outStageIndex);

  // What is wrong with a layout line, empty when it is well formed.
  static std::string layoutLineFault(const std::string& line);
  // Parses one layout line; null (and one logged message) when it is malformed.
  static Ptr<KstSpriteId> spriteIdWithLine(const std::string& line);

  // Leading decimal number with optional sign, fraction and exponent, after
  // optional blanks; text that does not begin with a number reads 0 and
  // anything after the number is ignored.
  static float readFloat(const std::string& text);
  static std::int32_t readInt(const std::string& text);
};
