#pragma once

// The whole program: command line, platform, launch, main loop. Returns the exit status.
int runLumoProgram(int argc, const char* const* argv);
