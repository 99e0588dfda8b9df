#include "lumoWorld.h"

void lumoWorld::beginEnShouldAnimation() {}
void lumoWorld::beginCnShouldAnimation() {}
void lumoWorld::endEnShouldAnimation() {}
void lumoWorld::endCnShouldAnimation() {}
void lumoWorld::endChangeToEnLanguage() {}
void lumoWorld::endChangeToCnLanguage() {}
void lumoWorld::addMenu() {}
void lumoWorld::startLanguageChange(CC3Node*, std::int32_t) {}
