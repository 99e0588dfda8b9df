#pragma once
#include <string>

// What the program is called on the desktop. The platform names its window,
// its log lines and its folders after these and knows no name of its own:
// the program sets them once, before its first log line, window or folder.
struct ProgramNames {
  // The command's name: the folder under the XDG directories and under the
  // installed share/, and the prefix of every log line.
  std::string command;
  // The window's title.
  std::string title;

  static void set(ProgramNames names);
  // Until set: the running executable's file name, for both.
  static const ProgramNames& current();
};
