#include "lumoWorld.h"

void lumoWorld::showAside() {}
void lumoWorld::playAsideSound() {}
void lumoWorld::dismissAsideWithAnimation(bool) {}
void lumoWorld::asideDidFinish(NSNotification*) {}
void lumoWorld::repeatNarration(CC3Node*) {}
