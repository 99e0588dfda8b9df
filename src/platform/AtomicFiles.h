#pragma once
#include <string>
#include <utility>
#include <vector>

// Files that belong together, replaced together: each is written to a
// temporary file beside it (its name and `kPartialSuffix`) and flushed to the
// disk, and only when every one is written are they renamed into place, in
// order. A full disk, a failing one or a kill while writing leaves the old
// files as they were (and at most some partial files, which
// `removePartialFiles` clears).
namespace AtomicFiles {
constexpr const char* kPartialSuffix = ".partial";

using File = std::pair<std::string, std::string>;  // path, bytes
// Creates missing folders. False with the system's reason when anything fails.
bool write(const std::vector<File>& files, std::string& error);
// Partial files left in `folder` and its subfolders; answers how many went.
std::size_t removePartialFiles(const std::string& folder);
}  // namespace AtomicFiles
