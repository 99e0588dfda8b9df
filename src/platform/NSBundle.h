#pragma once
#include <set>
#include <string>
#include <vector>

// The program's resources: the `assets/` folders searched in order —
// $LUMO_ASSETS, next to the executable, the installed `../share/COMMAND`
// beside the executable's folder (COMMAND as in ProgramNames), then the
// source tree's.
class NSBundle {
 public:
  static NSBundle& mainBundle();
  // The folders above, as the main bundle starts with them.
  static std::vector<std::string> standardSearchPaths();

  // Full path of "name.type" (type may be empty when name has its extension),
  // or the empty string when no folder has it.
  std::string pathForResource(const std::string& name, const std::string& type) const;
  // A relative path made absolute against the resource folders; absolute
  // paths and unknown names come back unchanged.
  std::string fullPathFromRelativePath(const std::string& relative) const;
  // The file a page's link, image or style sheet names: `url` is a path
  // relative to `baseFolder` (or to the resource folders when that is empty),
  // an absolute path or a file: URL, its query and fragment ignored. Empty
  // unless the file lies inside one of the resource folders (links are
  // resolved, so "..", absolute paths and links cannot reach out) and for
  // every other scheme (http:, mailto:, ...).
  std::string localPathForURL(const std::string& url, const std::string& baseFolder) const;
  const std::vector<std::string>& searchPaths() const { return paths_; }
  void setSearchPaths(std::vector<std::string> paths) { paths_ = std::move(paths); }
  bool hasAnyFolder() const;
  // Files that belong to other folders: a file whose name (as asked for,
  // "name.type") is in `files` is looked up in `folders` only, never in the
  // search paths, so that one missing there is missing, not replaced by a
  // file of the same name. Every other file is looked up in `folders` first.
  void setOwnedResources(std::vector<std::string> folders, std::set<std::string> files);

 private:
  NSBundle();
  std::vector<std::string> paths_;
  std::vector<std::string> ownedFolders_;
  std::set<std::string> ownedFiles_;
};
