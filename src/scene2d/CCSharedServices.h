#pragma once

// The engines' process-wide services torn down in one place and one order,
// by the program's exit and by the test fixtures alike.
namespace CCSharedServices {
// Adds the purge of a service a module above the 2D engine owns (the 3D
// engine's GL state engine). Added purges run after the 2D services', the
// latest added first; adding the same function again changes nothing.
void addPurge(void (*purge)());

// The director's owner ends it first (CCDirector::end). Then: the texture
// cache, whose loader must post nothing more; the director; the touch
// dispatcher it handed the view to; the configuration; the scheduler and
// the action manager (gone already when the director ended); the added
// purges; and the autorelease pool is drained, so that what is still alive
// afterwards is a leak or lives as long as the process.
void purgeAll();
}  // namespace CCSharedServices
