#pragma once
#include <initializer_list>

#include "CCAction.h"

class CC3Node;
class CCFiniteTimeAction;

// Small motions the book's parts share.
namespace lumoNodeActions {

// The touch flash every tapped control and figure shows: a glow, then back.
void flash(CC3Node* node);
// A nod: 10 degrees back about x and forward again, 0.3 s each way.
void rock(CC3Node* node);
// Removes `node` and stops every action of it and of its children first:
// removal leaves them running, and a pulse for ever would keep the node alive.
void removeWithActions(CC3Node* node);
// The steps in sequence, repeated for ever.
Ptr<CCAction> forever(std::initializer_list<CCFiniteTimeAction*> steps);

}  // namespace lumoNodeActions
