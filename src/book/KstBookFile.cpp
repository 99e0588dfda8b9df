#include "KstBookFile.h"

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <set>
#include <sstream>

#include <nlohmann/json.hpp>

#include "KstSpriteFactory.h"
#include "KstStage.h"
#include "lmStageInfo.h"
#include "lumoBookNames.h"

using nlohmann::json;
using nlohmann::ordered_json;

namespace {

constexpr const char* kFormat = "lumo-book";
constexpr int kVersion = 1;

// A value of the file that is not what the format says, where it stands.
struct Fault {
  std::string pointer;
  std::string what;
};

std::string languageName(int tag) {
  return tag == lmStageInfo::kLangEnglish ? "en" : "ru";
}

ordered_json nameOrNull(const std::string& name) {
  return name.empty() || name == kKstNil ? ordered_json(nullptr) : ordered_json(name);
}

ordered_json pageJson(const KstStoryPage& page) {
  ordered_json out;
  out["layout"] = page.layout;
  out["narration"] =
      page.hasAside
          ? ordered_json{{"ru", page.aside.ru}, {"en", page.aside.en}, {"cn", page.aside.cn}}
          : ordered_json(nullptr);
  out["recordings"] = {{"ru", nameOrNull(page.recordings.ru)},
                       {"en", nameOrNull(page.recordings.en)},
                       {"cn", nameOrNull(page.recordings.cn)}};
  out["figures"] = ordered_json::array();
  for (const KstStoryFigure& figure : page.figures) {
    ordered_json lines = ordered_json::array();
    for (const KstStoryLine& line : figure.lines)
      lines.push_back({{"recording", line.recording}, {"ru", line.ru}, {"en", line.en}});
    out["figures"].push_back({{"layer", figure.layer},
                              {"name", {{"ru", figure.name.ru}, {"en", figure.name.en}}},
                              {"lines", std::move(lines)}});
  }
  out["loop"] = {{"starts", nameOrNull(page.sound.startsLoop)}, {"stops", page.sound.stopsLoop}};
  return out;
}

ordered_json endingControlJson(const KstStoryEndingControl& control) {
  if (!control.offered) return nullptr;
  return {{"ru", control.ru}, {"en", control.en}};
}

ordered_json endingJson(const KstStoryEnding& ending) {
  return {{"replay", endingControlJson(ending.replay)},
          {"credits", endingControlJson(ending.credits)}};
}

// --- reading: every check names the pointer of the value it looks at.

const json& field(const json& object, const std::string& pointer, const char* key) {
  auto found = object.find(key);
  if (found == object.end())
    throw Fault{pointer, std::string("the field \"") + key + "\" is missing"};
  return *found;
}

// Fields a book may leave out, for the defaults of folders written before them.
void expectObjectWithOptional(const json& value, const std::string& pointer,
                              std::initializer_list<const char*> required,
                              std::initializer_list<const char*> optional) {
  if (!value.is_object()) throw Fault{pointer, "must be an object"};
  for (const auto& [key, item] : value.items()) {
    bool known = false;
    for (auto names : {required, optional})
      for (const char* name : names) known = known || key == name;
    if (!known) throw Fault{pointer + "/" + key, "is not a field of this object"};
  }
  for (const char* key : required) field(value, pointer, key);
}

void expectObject(const json& value, const std::string& pointer,
                  std::initializer_list<const char*> keys) {
  expectObjectWithOptional(value, pointer, keys, {});
}

std::string text(const json& value, const std::string& pointer) {
  if (!value.is_string()) throw Fault{pointer, "must be a string"};
  return value.get<std::string>();
}

const json& array(const json& value, const std::string& pointer) {
  if (!value.is_array()) throw Fault{pointer, "must be an array"};
  return value;
}

// A base name of a file in the book folder: never a path.
std::string fileName(const json& value, const std::string& pointer) {
  std::string name = text(value, pointer);
  if (name.empty()) throw Fault{pointer, "must not be empty"};
  if (name.find_first_of("/\\") != std::string::npos)
    throw Fault{pointer, "\"" + name + "\" must be a file name, without a path separator"};
  if (name == "." || name == "..") throw Fault{pointer, "\"" + name + "\" is not a file name"};
  return name;
}

std::string optionalName(const json& value, const std::string& pointer) {
  return value.is_null() ? kKstNil : fileName(value, pointer);
}

std::string narrationName(const json& value, const std::string& pointer) {
  std::string name = optionalName(value, pointer);
  if (name != kKstNil && !lumoBookNames::isNarrationFile(name))
    throw Fault{pointer, "\"" + name + "\" must begin with \"" + lumoBookNames::kNarrationPrefix +
                             "\", as every narration recording does"};
  return name;
}

std::vector<std::string> layoutLines(const json& value, const std::string& pointer) {
  array(value, pointer);
  if (value.empty()) throw Fault{pointer, "must hold at least one layout line"};
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const std::string at = pointer + "/" + std::to_string(i);
    std::string line = text(value[i], at);
    const std::string fault = KstSpriteFactory::layoutLineFault(line);
    if (!fault.empty()) throw Fault{at, "the layout line \"" + line + "\" is malformed: " + fault};
    const std::string identifier = line.substr(0, line.find('+'));
    if (identifier.find_first_of("/\\") != std::string::npos)
      throw Fault{at, "the layer \"" + identifier + "\" names its picture with a path separator"};
    lines.push_back(std::move(line));
  }
  return lines;
}

std::set<std::string> layerNames(const std::vector<std::string>& layout) {
  std::set<std::string> names;
  for (const std::string& line : layout) names.insert(line.substr(0, line.find('+')));
  return names;
}

KstStoryLine dialogueLine(const json& value, const std::string& pointer) {
  expectObject(value, pointer, {"recording", "ru", "en"});
  std::string recording = fileName(value["recording"], pointer + "/recording");
  if (lumoBookNames::isNarrationFile(recording))
    throw Fault{pointer + "/recording", "\"" + recording + "\" begins with \"" +
                                            lumoBookNames::kNarrationPrefix +
                                            "\", which only narration recordings may"};
  return {recording, text(value["ru"], pointer + "/ru"), text(value["en"], pointer + "/en")};
}

KstStoryName figureName(const json& value, const std::string& pointer) {
  expectObject(value, pointer, {"ru", "en"});
  return {text(value["ru"], pointer + "/ru"), text(value["en"], pointer + "/en")};
}

KstStoryFigure figure(const json& value, const std::string& pointer,
                      const std::set<std::string>& layers) {
  expectObjectWithOptional(value, pointer, {"layer", "lines"}, {"name"});
  KstStoryFigure out;
  if (value.contains("name")) out.name = figureName(value["name"], pointer + "/name");
  out.layer = text(value["layer"], pointer + "/layer");
  if (!layers.count(out.layer))
    throw Fault{pointer + "/layer", "\"" + out.layer + "\" is not a layer of this page"};
  if (!lumoBookNames::isFigureLayer(out.layer))
    throw Fault{pointer + "/layer", "\"" + out.layer + "\" has no \"-" +
                                        lumoBookNames::kFigureLayerSuffix +
                                        "\" suffix, so it cannot be tapped"};
  const json& lines = array(value["lines"], pointer + "/lines");
  if (lines.empty()) throw Fault{pointer + "/lines", "must hold at least one line"};
  for (std::size_t i = 0; i < lines.size(); ++i)
    out.lines.push_back(dialogueLine(lines[i], pointer + "/lines/" + std::to_string(i)));
  return out;
}

void narration(const json& value, const std::string& pointer, KstStoryPage& page) {
  page.hasAside = !value.is_null();
  if (!page.hasAside) return;
  expectObject(value, pointer, {"ru", "en", "cn"});
  page.aside = {text(value["ru"], pointer + "/ru"), text(value["en"], pointer + "/en"),
                text(value["cn"], pointer + "/cn")};
}

void recordings(const json& value, const std::string& pointer, KstStoryPage& page) {
  expectObject(value, pointer, {"ru", "en", "cn"});
  page.recordings = {narrationName(value["ru"], pointer + "/ru"),
                     narrationName(value["en"], pointer + "/en"),
                     narrationName(value["cn"], pointer + "/cn")};
}

void loop(const json& value, const std::string& pointer, KstStoryPage& page) {
  expectObject(value, pointer, {"starts", "stops"});
  const std::string starts = optionalName(value["starts"], pointer + "/starts");
  page.sound.startsLoop = starts == kKstNil ? std::string() : starts;
  if (!value["stops"].is_boolean()) throw Fault{pointer + "/stops", "must be true or false"};
  page.sound.stopsLoop = value["stops"].get<bool>();
}

KstStoryPage page(const json& value, const std::string& pointer) {
  expectObject(value, pointer, {"layout", "narration", "recordings", "figures", "loop"});
  KstStoryPage out;
  out.layout = layoutLines(value["layout"], pointer + "/layout");
  narration(value["narration"], pointer + "/narration", out);
  recordings(value["recordings"], pointer + "/recordings", out);
  const std::set<std::string> layers = layerNames(out.layout);
  const json& figures = array(value["figures"], pointer + "/figures");
  for (std::size_t i = 0; i < figures.size(); ++i)
    out.figures.push_back(figure(figures[i], pointer + "/figures/" + std::to_string(i), layers));
  loop(value["loop"], pointer + "/loop", out);
  return out;
}

KstStoryTitle title(const json& value, const std::string& pointer) {
  expectObject(value, pointer, {"picture", "language", "text"});
  const std::string language = text(value["language"], pointer + "/language");
  if (language != "ru" && language != "en")
    throw Fault{pointer + "/language", "must be \"ru\" or \"en\""};
  return {fileName(value["picture"], pointer + "/picture"),
          language == "en" ? lmStageInfo::kLangEnglish : lmStageInfo::kLangRussian,
          text(value["text"], pointer + "/text")};
}

// null: the ending page does not offer the control.
KstStoryEndingControl endingControl(const json& value, const std::string& pointer) {
  if (value.is_null()) return {false, "", ""};
  expectObject(value, pointer, {"ru", "en"});
  return {true, fileName(value["ru"], pointer + "/ru"), fileName(value["en"], pointer + "/en")};
}

KstStoryEnding ending(const json& value, const std::string& pointer) {
  expectObject(value, pointer, {"replay", "credits"});
  return {endingControl(value["replay"], pointer + "/replay"),
          endingControl(value["credits"], pointer + "/credits")};
}

KstStoryBook book(const json& value) {
  expectObjectWithOptional(value, "", {"format", "version", "pages", "titles", "credits"},
                           {"ending"});
  if (value["format"] != kFormat)
    throw Fault{"/format", std::string("must be \"") + kFormat + "\""};
  if (!value["version"].is_number_integer() || value["version"].get<long long>() != kVersion)
    throw Fault{"/version", "must be " + std::to_string(kVersion)};
  KstStoryBook out;
  const json& pages = array(value["pages"], "/pages");
  const int count = static_cast<int>(pages.size());
  if (count < KstBookFile::kFewestPages || count > KstBookFile::kMostPages)
    throw Fault{"/pages", "holds " + std::to_string(count) + " pages; a book has " +
                              std::to_string(KstBookFile::kFewestPages) + " to " +
                              std::to_string(KstBookFile::kMostPages)};
  for (int i = 0; i < count; ++i)
    out.pages.push_back(page(pages[i], "/pages/" + std::to_string(i)));
  const json& titles = array(value["titles"], "/titles");
  for (std::size_t i = 0; i < titles.size(); ++i)
    out.titles.push_back(title(titles[i], "/titles/" + std::to_string(i)));
  out.credits = text(value["credits"], "/credits");
  if (value.contains("ending")) out.ending = ending(value["ending"], "/ending");
  return out;
}

}  // namespace

namespace KstBookFile {

std::string write(const KstStoryBook& book) {
  ordered_json out;
  out["format"] = kFormat;
  out["version"] = kVersion;
  out["pages"] = ordered_json::array();
  for (const KstStoryPage& page : book.pages) out["pages"].push_back(pageJson(page));
  out["titles"] = ordered_json::array();
  for (const KstStoryTitle& title : book.titles)
    out["titles"].push_back({{"picture", title.identifier},
                             {"language", languageName(title.language)},
                             {"text", title.text}});
  out["credits"] = book.credits;
  out["ending"] = endingJson(book.ending);
  return out.dump(2) + "\n";
}

bool read(const std::string& text, const std::string& path, KstStoryBook& out, std::string& error) {
  json value;
  try {
    value = json::parse(text);
  } catch (const json::parse_error& fault) {
    error = path + ": at JSON pointer \"\": not valid JSON, byte " + std::to_string(fault.byte);
    return false;
  } catch (const json::exception&) {  // a number past a double's range, as "3e6666"
    error = path + ": at JSON pointer \"\": not valid JSON, a number out of range";
    return false;
  }
  try {
    out = book(value);
    return true;
  } catch (const Fault& fault) {
    error = path + ": at JSON pointer \"" + fault.pointer + "\": " + fault.what;
    return false;
  }
}

bool readFolder(const std::string& dir, KstStoryBook& out, std::string& error) {
  const std::string path = (std::filesystem::path(dir) / kFileName).string();
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": cannot be read";
    return false;
  }
  std::ostringstream content;
  content << in.rdbuf();
  return read(content.str(), path, out, error);
}

}  // namespace KstBookFile
