#include "lumoFigureDialogue.h"

#include "CC3Actions.h"
#include "CCActionInstant.h"
#include "CCActionInterval.h"
#include "KstSound.h"
#include "NSBundle.h"
#include "Random.h"
#include "lumoNodeActions.h"
#include "lumoWorld.h"

void lumoFigureDialogue::tapped(CC3Node* figure) {
  lumoTurnMachine& turns = world_.turns();
  const std::string name = figure->name().value_or("");
  if (!turns.figureStarts(name)) return;
  lumoNodeActions::flash(figure);
  for (std::size_t i = 0; i < figure->childCount(); ++i) {
    if (figure->childAt(i)->name() == lumoNarrationPanel::kDialogueHintName) {
      lumoNodeActions::removeWithActions(figure->childAt(i));  // its pulse would keep it running
      break;
    }
  }
  const KstStage::StringList lines = world_.stage()->dialogNamesForLayer(name);
  if (lines.empty()) {
    turns.figureStaysSilent();
    return;
  }
  const std::string line = lumoBookNames::dialogueRecording(
      lines[static_cast<unsigned long>(Random::next()) % lines.size()], turns.language(),
      [](const std::string& name) {
        return !NSBundle::mainBundle().pathForResource(name, "mp3").empty();
      });
  KstSound* sound = KstSound::shared();
  sound->playSoundWithName(line, "mp3");
  // A figure speaking over the narration stopped it, and its words lit.
  if (sound->playingSoundName() != world_.words().followedNarration()) world_.stopFollowingWords();
  // Only a recording's end makes figures ready again; one that cannot play never ends.
  if (sound->playingSoundName() != line) turns.figureStaysSilent();
  rock(figure);
}

void lumoFigureDialogue::rock(CC3Node* figure) {
  auto back = CC3RotateBy::actionWithDuration(0.3f, {-15, 0, 0});
  auto forth = CC3RotateBy::actionWithDuration(0.3f, {15, 0, 0});
  auto backLess = CC3RotateBy::actionWithDuration(0.3f, {-10, 0, 0});
  auto forthLess = CC3RotateBy::actionWithDuration(0.3f, {10, 0, 0});
  auto done =
      CCCallFunc::actionWithTarget(&world_, SELECTOR(lumoWorld::normalElementDidEndAnimation));
  figure->runAction(
      CCSequence::actions({back.get(), forth.get(), backLess.get(), forthLess.get(), done.get()})
          .get());
}
