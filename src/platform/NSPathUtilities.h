#pragma once
#include <string>
#include <vector>

enum NSSearchPathDirectory { NSDocumentDirectory = 9 };
enum NSSearchPathDomainMask { NSUserDomainMask = 1 };

// The user's folders for the program, named by its command (ProgramNames).
// The documents folder is $XDG_DATA_HOME/COMMAND/Documents, else
// ~/.local/share/COMMAND/Documents; the list is empty when neither variable
// is set. Folders are not created here.
std::vector<std::string> NSSearchPathForDirectoriesInDomains(NSSearchPathDirectory directory,
                                                             NSSearchPathDomainMask domains,
                                                             bool expandTilde);
