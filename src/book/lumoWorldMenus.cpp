#include "lumoWorld.h"

void lumoWorld::addHome() {}
void lumoWorld::removeHome() {}
void lumoWorld::addMenuEnding() {}
void lumoWorld::addHelpAlert() {}
void lumoWorld::creditsDidFinish(NSNotification*) {}
void lumoWorld::jumpHome(CC3Node*) {}
void lumoWorld::replayFromEnding(CC3Node*) {}
void lumoWorld::requestCredits(CC3Node*) {}
