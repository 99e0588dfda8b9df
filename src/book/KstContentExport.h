#pragma once
#include <string>

// Writes the book's words for the asset tools, UTF-8, into `dir`:
//   recordings.tsv  name<TAB>voice<TAB>textfile   (voice "ru" or "en", textfile relative to dir)
//   text/<name>.txt the words of each recording the content table can ask for
//   layers.tsv      page<TAB>identifier<TAB>width<TAB>height   for every layout line
//   layout.tsv      page<TAB>identifier<TAB>line   the layout line exactly as the table
//                   holds it, ground, picture layers and background in page-list order
//   titles.tsv      identifier<TAB>language<TAB>text   (language "ru" or "en")
//   credits.txt
// Files whose content is unchanged are left untouched so that build rules
// depending on them do not rerun; stale text files are removed. Returns false
// (after logging) when something could not be written.
bool exportBookContent(const std::string& dir);
