#pragma once
#include "UITouch.h"

// Phase bits of the touch calls a delegate implements.
enum {
  kCCTouchSelectorBeganBit = 1 << 0,
  kCCTouchSelectorMovedBit = 1 << 1,
  kCCTouchSelectorEndedBit = 1 << 2,
  kCCTouchSelectorCancelledBit = 1 << 3,
  kCCTouchSelectorAllBits = 0xF
};

// Receives one touch at a time. Answering true from ccTouchBegan claims the
// touch; the delegate then gets that touch's later phases.
class CCTargetedTouchDelegate {
 public:
  virtual ~CCTargetedTouchDelegate() = default;
  virtual bool ccTouchBegan(UITouch* touch, UIEvent* event) = 0;
  virtual void ccTouchMoved(UITouch*, UIEvent*) {}
  virtual void ccTouchEnded(UITouch*, UIEvent*) {}
  virtual void ccTouchCancelled(UITouch*, UIEvent*) {}
  // The phases whose calls this delegate wants (began is always asked).
  virtual int targetedTouchPhases() const { return kCCTouchSelectorAllBits; }
};

// Receives whole sets of touches, whatever is left after swallowing.
class CCStandardTouchDelegate {
 public:
  virtual ~CCStandardTouchDelegate() = default;
  virtual void ccTouchesBegan(const UITouchSet&, UIEvent*) {}
  virtual void ccTouchesMoved(const UITouchSet&, UIEvent*) {}
  virtual void ccTouchesEnded(const UITouchSet&, UIEvent*) {}
  virtual void ccTouchesCancelled(const UITouchSet&, UIEvent*) {}
  // The phases whose calls this delegate wants.
  virtual int standardTouchPhases() const { return kCCTouchSelectorAllBits; }
};
