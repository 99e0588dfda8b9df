#include "lumoControlTable.h"

#include "CC3Node.h"
#include "lmStageInfo.h"

namespace {
struct Row {
  lumoControl control;
  GLuint tag;
};
// The language buttons are tagged with the language they pick.
constexpr Row kRows[] = {
    {lumoControl::kRussian, lmStageInfo::kLangRussian},
    {lumoControl::kEnglish, lmStageInfo::kLangEnglish},
    {lumoControl::kHome, 2002},
    {lumoControl::kReplay, 3000},
    {lumoControl::kCredits, 3001},
    {lumoControl::kRepeatNarration, 4000},
    {lumoControl::kPages, 2003},
    {lumoControl::kContinue, 2004},
    {lumoControl::kRecordVoice, 3100},
    {lumoControl::kRecordingLight, 3101},
};

static_assert(std::size(kRows) == lumoControlTable::kCount, "a row for every control");

std::size_t indexOf(lumoControl control) {
  return static_cast<std::size_t>(control);
}
}  // namespace

GLuint lumoControlTable::tagOf(lumoControl control) {
  return kRows[indexOf(control)].tag;
}

std::optional<lumoControl> lumoControlTable::controlTagged(GLuint tag) {
  for (const Row& row : kRows)
    if (row.tag == tag) return row.control;
  return std::nullopt;
}

void lumoControlTable::setHandler(lumoControl control, Handler handler) {
  handlers_[indexOf(control)] = std::move(handler);
}

bool lumoControlTable::dispatch(CC3Node* node) const {
  const std::optional<lumoControl> control = node ? controlTagged(node->tag()) : std::nullopt;
  if (!control) return false;
  const Handler& handler = handlers_[indexOf(*control)];
  return handler && handler(node);
}
