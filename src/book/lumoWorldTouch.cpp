#include "lumoWorld.h"

void lumoWorld::touchEvent(GLuint touchType, CGPoint point) {
  CC3World::touchEvent(touchType, point);
}
void lumoWorld::nodeSelected(CC3Node*, GLuint, CGPoint) {}
void lumoWorld::normalElementDidEndAnimation() {}
void lumoWorld::accelerometer(UIAccelerometer*, const UIAcceleration&) {}
void lumoWorld::moveXAxisWithRate(float) {}
void lumoWorld::moveYAxisWithRate(float) {}
void lumoWorld::updateBeforeTransform(CC3NodeUpdatingVisitor* visitor) {
  CC3World::updateBeforeTransform(visitor);
}
void lumoWorld::updateCameraFromControls(ccSeconds) {}
void lumoWorld::switchCameraTarget() {}
void lumoWorld::flashNode(CC3Node*) {}
void lumoWorld::playFigureDialogue(CC3Node*) {}
