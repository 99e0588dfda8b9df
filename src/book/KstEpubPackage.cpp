#include "KstEpubPackage.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "KstBookFile.h"
#include "KstStage.h"
#include "lmStageInfo.h"

namespace {
constexpr const char* kXmlDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
constexpr const char* kStylesheet = "style.css";
constexpr const char* kNavigation = "nav.xhtml";
constexpr const char* kCredits = "credits.xhtml";
constexpr const char* kFolder = "OEBPS/";
constexpr const char* kEpubNamespace = " xmlns:epub=\"http://www.idpf.org/2007/ops\"";

// The words the package itself says, in the reading language.
struct Wording {
  const char* page;
  const char* credits;
  const char* contents;
  const char* cover;
  const char* story;
};
constexpr Wording kRussian{"Страница", "Об этой книге", "Содержание", "Обложка", "Сказка"};
constexpr Wording kEnglish{"Page", "About this book", "Contents", "Cover", "The story"};

std::string escape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string twoDigits(int page) {
  char name[16];
  std::snprintf(name, sizeof name, "%02d", page);
  return name;
}

std::string pageFile(int page) {
  return "pages/page" + twoDigits(page) + ".xhtml";
}
std::string overlayFile(int page) {
  return "overlays/page" + twoDigits(page) + ".smil";
}
std::string overlayId(int page) {
  return "overlay" + twoDigits(page);
}

std::int64_t milliseconds(double seconds) {
  return std::llround(seconds * 1000);
}

std::string seconds(std::int64_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%lld.%03llds", static_cast<long long>(ms / 1000),
                static_cast<long long>(ms % 1000));
  return text;
}

// Where word `index` of a recording is heard: from its start to the next
// word's, the last to the recording's end.
std::pair<std::int64_t, std::int64_t> clip(const KstEpubPackage::Recording& recording,
                                           std::size_t index) {
  const std::int64_t begin = milliseconds(recording.timings.startOf(index));
  const std::int64_t end = index + 1 < recording.timings.count()
                               ? milliseconds(recording.timings.startOf(index + 1))
                               : milliseconds(recording.seconds);
  return {begin, std::max(begin, end)};
}

// A name-based identifier: the same book in the same language is the same
// publication, whenever it is exported (an RFC 9562 version 8 UUID).
std::string uuidOf(const std::string& text) {
  std::uint64_t high = 1469598103934665603ull, low = 0x84222325cbf29ce4ull;
  for (unsigned char c : text) {
    high = (high ^ c) * 1099511628211ull;
    low = (low ^ c) * 0x100000001b3ull + 0x9e3779b97f4a7c15ull;
  }
  high = (high & ~0xf000ull) | 0x8000ull;
  low = (low & ~(0xc000ull << 48)) | (0x8000ull << 48);
  char uuid[40];
  std::snprintf(uuid, sizeof uuid, "%08x-%04x-%04x-%04x-%012llx", unsigned(high >> 32),
                unsigned((high >> 16) & 0xffff), unsigned(high & 0xffff), unsigned(low >> 48),
                static_cast<unsigned long long>(low & 0xffffffffffffull));
  return uuid;
}
}  // namespace

KstEpubPackage::KstEpubPackage(const KstStoryBook& book, std::int32_t language)
    : book_(book), language_(language), recordings_(book.pages.size()) {}

std::string KstEpubPackage::languageCode() const {
  return language_ == lmStageInfo::kLangEnglish ? "en" : "ru";
}

std::string KstEpubPackage::title() const {
  for (const KstStoryTitle& title : book_.titles)
    if (title.language == language_ && !title.text.empty()) return title.text;
  return otherTitle().empty() ? "Lumo Book" : otherTitle();
}

std::string KstEpubPackage::otherTitle() const {
  for (const KstStoryTitle& title : book_.titles)
    if (title.language != language_ && !title.text.empty()) return title.text;
  return "";
}

std::string KstEpubPackage::narrationText(int page) const {
  const KstStoryPage& story = book_.pages.at(page - 1);
  if (!story.hasAside) return "";
  return language_ == lmStageInfo::kLangEnglish ? story.aside.en : story.aside.ru;
}

std::string KstEpubPackage::narrationRecording(int page) const {
  const KstStoryPage& story = book_.pages.at(page - 1);
  // The English reading has always played the recording kept under `cn`.
  const std::string& name =
      language_ == lmStageInfo::kLangEnglish ? story.recordings.cn : story.recordings.ru;
  return name == kKstNil || narrationText(page).empty() ? "" : name;
}

bool KstEpubPackage::setRecording(int page, Recording recording) {
  if (lmWordTimings::wordSpans(narrationText(page)).size() != recording.timings.count())
    return false;
  recordings_.at(page - 1) = std::move(recording);
  return true;
}

std::vector<std::string> KstEpubPackage::recordingsUsed() const {
  std::vector<std::string> names;
  for (const auto& recording : recordings_)
    if (recording && std::find(names.begin(), names.end(), recording->name) == names.end())
      names.push_back(recording->name);
  return names;
}

std::string KstEpubPackage::picturePath(int page) {
  return std::string(kFolder) + "images/page" + twoDigits(page) + ".png";
}

std::string KstEpubPackage::recordingPath(const std::string& name) {
  return std::string(kFolder) + "audio/" + name + ".mp3";
}

std::string KstEpubPackage::clockValue(std::int64_t ms) {
  char text[40];
  std::snprintf(text, sizeof text, "%lld:%02lld:%02lld.%03lld",
                static_cast<long long>(ms / 3600000), static_cast<long long>(ms / 60000 % 60),
                static_cast<long long>(ms / 1000 % 60), static_cast<long long>(ms % 1000));
  return text;
}

std::string KstEpubPackage::identifier() const {
  return "urn:uuid:" + uuidOf(KstBookFile::write(book_) + "\n" + languageCode());
}

std::string KstEpubPackage::pageName(int page) const {
  const Wording& words = language_ == lmStageInfo::kLangEnglish ? kEnglish : kRussian;
  if (page == 1) return title();
  return std::string(words.page) + " " + std::to_string(page);
}

std::string KstEpubPackage::head(const std::string& title, const std::string& stylesheet,
                                 bool withEpubTypes) const {
  return std::string(kXmlDeclaration) + "<!DOCTYPE html>\n" +
         "<html xmlns=\"http://www.w3.org/1999/xhtml\"" + (withEpubTypes ? kEpubNamespace : "") +
         " xml:lang=\"" + languageCode() + "\" lang=\"" + languageCode() + "\">\n<head>\n" +
         "<meta charset=\"UTF-8\"/>\n<meta name=\"viewport\" content=\"width=" +
         std::to_string(kPageWidth) + ", height=" + std::to_string(kPageHeight) + "\"/>\n" +
         "<title>" + escape(title) +
         "</title>\n<link rel=\"stylesheet\" type=\"text/css\" href=\"" + stylesheet +
         "\"/>\n</head>\n";
}

std::string KstEpubPackage::narrationParagraph(const std::string& text) const {
  std::string out = "<p class=\"narration\" id=\"narration\">";
  std::size_t at = 0, index = 0;
  for (const lmWordTimings::Span& span : lmWordTimings::wordSpans(text)) {
    out += escape(text.substr(at, span.begin - at));
    out += "<span id=\"w" + std::to_string(++index) + "\">" +
           escape(text.substr(span.begin, span.end - span.begin)) + "</span>";
    at = span.end;
  }
  return out + escape(text.substr(at)) + "</p>\n";
}

std::string KstEpubPackage::pageDocument(int page) const {
  const std::string text = narrationText(page);
  std::string out = head(title() + " · " + pageName(page), std::string("../") + kStylesheet);
  out += "<body>\n<div class=\"page\">\n<img class=\"picture\" src=\"../images/page" +
         twoDigits(page) + ".png\" alt=\"\"/>\n";
  if (!text.empty()) out += narrationParagraph(text);
  return out + "</div>\n</body>\n</html>\n";
}

std::int64_t KstEpubPackage::overlayMilliseconds(const Recording& recording) const {
  std::int64_t total = 0;
  for (std::size_t i = 0; i < recording.timings.count(); ++i) {
    const auto [begin, end] = clip(recording, i);
    total += end - begin;
  }
  return total;
}

std::string KstEpubPackage::overlayDocument(int page, const Recording& recording) const {
  const std::string text = "../" + pageFile(page);
  const std::string audio = "../audio/" + recording.name + ".mp3";
  std::string out = std::string(kXmlDeclaration) +
                    "<smil xmlns=\"http://www.w3.org/ns/SMIL\" "
                    "xmlns:epub=\"http://www.idpf.org/2007/ops\" version=\"3.0\">\n<body>\n"
                    "<seq id=\"narration\" epub:textref=\"" +
                    text + "#narration\">\n";
  for (std::size_t i = 0; i < recording.timings.count(); ++i) {
    const auto [begin, end] = clip(recording, i);
    const std::string word = std::to_string(i + 1);
    out += "<par id=\"p" + word + "\"><text src=\"" + text + "#w" + word + "\"/><audio src=\"" +
           audio + "\" clipBegin=\"" + seconds(begin) + "\" clipEnd=\"" + seconds(end) +
           "\"/></par>\n";
  }
  return out + "</seq>\n</body>\n</smil>\n";
}

std::string KstEpubPackage::metadata(const std::string& modified) const {
  std::string out = "<metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n";
  out += "<dc:identifier id=\"book-id\">" + identifier() + "</dc:identifier>\n";
  out += "<dc:title id=\"title\">" + escape(title()) + "</dc:title>\n";
  if (!otherTitle().empty() && otherTitle() != title())
    out += "<meta refines=\"#title\" property=\"alternate-script\" xml:lang=\"" +
           std::string(language_ == lmStageInfo::kLangEnglish ? "ru" : "en") + "\">" +
           escape(otherTitle()) + "</meta>\n";
  out += "<dc:language>" + languageCode() + "</dc:language>\n";
  out += "<meta property=\"dcterms:modified\">" + modified + "</meta>\n";
  out += "<meta property=\"rendition:layout\">pre-paginated</meta>\n";
  out += "<meta property=\"rendition:orientation\">landscape</meta>\n";
  out += "<meta property=\"rendition:spread\">none</meta>\n";
  out += "<meta property=\"media:active-class\">" + std::string(kActiveClass) + "</meta>\n";
  std::int64_t total = 0;
  for (std::size_t i = 0; i < recordings_.size(); ++i) {
    if (!recordings_[i]) continue;
    const std::int64_t ms = overlayMilliseconds(*recordings_[i]);
    total += ms;
    out += "<meta property=\"media:duration\" refines=\"#" + overlayId(int(i) + 1) + "\">" +
           clockValue(ms) + "</meta>\n";
  }
  out += "<meta property=\"media:duration\">" + clockValue(total) + "</meta>\n";
  return out + "</metadata>\n";
}

std::string KstEpubPackage::manifest() const {
  std::string out = "<manifest>\n";
  std::vector<std::string> audio;
  out += "<item id=\"nav\" href=\"" + std::string(kNavigation) +
         "\" media-type=\"application/xhtml+xml\" properties=\"nav\"/>\n";
  out += "<item id=\"style\" href=\"" + std::string(kStylesheet) + "\" media-type=\"text/css\"/>\n";
  for (int page = 1; page <= int(book_.pages.size()); ++page) {
    const std::string number = twoDigits(page);
    const auto& recording = recordings_[page - 1];
    out += "<item id=\"page" + number + "\" href=\"" + pageFile(page) +
           "\" media-type=\"application/xhtml+xml\"" +
           (recording ? " media-overlay=\"" + overlayId(page) + "\"" : "") + "/>\n";
    out += "<item id=\"picture" + number + "\" href=\"images/page" + number +
           ".png\" media-type=\"image/png\"" + (page == 1 ? " properties=\"cover-image\"" : "") +
           "/>\n";
    if (!recording) continue;
    out += "<item id=\"" + overlayId(page) + "\" href=\"" + overlayFile(page) +
           "\" media-type=\"application/smil+xml\"/>\n";
    if (std::find(audio.begin(), audio.end(), recording->name) != audio.end()) continue;
    audio.push_back(recording->name);
    out += "<item id=\"audio" + number + "\" href=\"audio/" + recording->name +
           ".mp3\" media-type=\"audio/mpeg\"/>\n";
  }
  out += "<item id=\"credits\" href=\"" + std::string(kCredits) +
         "\" media-type=\"application/xhtml+xml\"/>\n";
  return out + "</manifest>\n";
}

std::string KstEpubPackage::spine() const {
  std::string out = "<spine>\n";
  for (int page = 1; page <= int(book_.pages.size()); ++page)
    out += "<itemref idref=\"page" + twoDigits(page) + "\"/>\n";
  return out + "<itemref idref=\"credits\"/>\n</spine>\n";
}

std::string KstEpubPackage::packageDocument(const std::string& modified) const {
  return std::string(kXmlDeclaration) +
         "<package xmlns=\"http://www.idpf.org/2007/opf\" version=\"3.0\" "
         "unique-identifier=\"book-id\" xml:lang=\"" +
         languageCode() + "\">\n" + metadata(modified) + manifest() + spine() + "</package>\n";
}

std::string KstEpubPackage::navigationDocument() const {
  const Wording& words = language_ == lmStageInfo::kLangEnglish ? kEnglish : kRussian;
  std::string out = head(title(), kStylesheet, true) + "<body class=\"contents\">\n";
  out += "<nav epub:type=\"toc\" id=\"toc\">\n<h1>" + std::string(words.contents) + "</h1>\n<ol>\n";
  for (int page = 1; page <= int(book_.pages.size()); ++page)
    out += "<li><a href=\"" + pageFile(page) + "\">" + escape(pageName(page)) + "</a></li>\n";
  out += "<li><a href=\"" + std::string(kCredits) + "\">" + words.credits + "</a></li>\n";
  out += "</ol>\n</nav>\n<nav epub:type=\"landmarks\" id=\"landmarks\" hidden=\"hidden\">\n<ol>\n";
  out += "<li><a epub:type=\"cover\" href=\"" + pageFile(1) + "\">" + words.cover + "</a></li>\n";
  out += "<li><a epub:type=\"bodymatter\" href=\"" + pageFile(book_.pages.size() > 1 ? 2 : 1) +
         "\">" + words.story + "</a></li>\n";
  return out + "</ol>\n</nav>\n</body>\n</html>\n";
}

std::string KstEpubPackage::creditsDocument() const {
  const Wording& words = language_ == lmStageInfo::kLangEnglish ? kEnglish : kRussian;
  std::string out = head(title() + " · " + words.credits, kStylesheet) +
                    "<body>\n<div class=\"page credits\">\n<h1>" + words.credits + "</h1>\n";
  std::size_t at = 0;
  while (at < book_.credits.size()) {
    std::size_t end = book_.credits.find('\n', at);
    if (end == std::string::npos) end = book_.credits.size();
    const std::string line = book_.credits.substr(at, end - at);
    if (!line.empty()) out += "<p>" + escape(line) + "</p>\n";
    at = end + 1;
  }
  return out + "</div>\n</body>\n</html>\n";
}

std::vector<KstEpubPackage::Document> KstEpubPackage::documents(const std::string& modified) const {
  const std::string folder = kFolder;
  std::vector<Document> out;
  out.push_back(
      {"META-INF/container.xml",
       std::string(kXmlDeclaration) +
           "<container version=\"1.0\" "
           "xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\">\n<rootfiles>\n"
           "<rootfile full-path=\"OEBPS/package.opf\" "
           "media-type=\"application/oebps-package+xml\"/>\n</rootfiles>\n</container>\n"});
  out.push_back({folder + "package.opf", packageDocument(modified)});
  out.push_back({folder + kNavigation, navigationDocument()});
  out.push_back({folder + kStylesheet,
                 "html, body { margin: 0; padding: 0; }\n"
                 "body { width: 1024px; height: 768px; overflow: hidden; }\n"
                 "body.contents { height: auto; overflow: visible; font-family: sans-serif; }\n"
                 ".page { position: relative; width: 1024px; height: 768px; overflow: hidden; }\n"
                 ".picture { position: absolute; left: 0; top: 0; width: 1024px; height: 768px; }\n"
                 ".narration { position: absolute; left: 24px; right: 24px; bottom: 16px;\n"
                 "  margin: 0; padding: 16px 32px; border-radius: 20px;\n"
                 "  background-color: rgba(52, 33, 72, 0.88); color: #ffffff;\n"
                 "  font-family: sans-serif; font-size: 28px; line-height: 1.4; }\n"
                 ".lit-word { color: #ffd75e; }\n"
                 ".credits { background-color: #f4ead7; color: #3a2a1a; font-family: sans-serif;\n"
                 "  font-size: 24px; text-align: center; }\n"
                 ".credits h1 { font-size: 36px; margin: 80px 0 32px 0; }\n"
                 ".credits p { margin: 0 64px 12px 64px; }\n"});
  for (int page = 1; page <= int(book_.pages.size()); ++page) {
    out.push_back({folder + pageFile(page), pageDocument(page)});
    if (const auto& recording = recordings_[page - 1])
      out.push_back({folder + overlayFile(page), overlayDocument(page, *recording)});
  }
  out.push_back({folder + kCredits, creditsDocument()});
  return out;
}
