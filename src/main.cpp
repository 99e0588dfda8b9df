#include "LumoProgram.h"

int main(int argc, char** argv) { return runLumoProgram(argc, argv); }
