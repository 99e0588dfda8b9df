#pragma once

// What a reading leaves running, stopped before the engines' shared services
// are purged (CCSharedServices::purgeAll) by the program's exit and the tests.
namespace lumoServices {
// Releases the sound players and closes the audio device; stops the texture
// loader before the run loop's queue is emptied, so nothing it posts arrives
// later; empties that queue, whose delayed calls hold the world.
void stopReading();
}  // namespace lumoServices
