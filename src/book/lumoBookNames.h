#pragma once
#include <functional>
#include <string>

// The names the book's parts meet by: notifications and their keys, the
// recordings' prefix and suffixes, the layer identifiers' suffixes. Each is
// written here once; senders and receivers both use these.
namespace lumoBookNames {

// Posted by the sound player when a main-channel recording ends by itself.
inline constexpr const char* kRecordingDidFinishNotification = "asidedidfinishnotification";
// Its user information: whether the recording was a narration.
inline constexpr const char* kIsNarrationKey = "isAside";
// Posted by the world when the reader asks for the credits screen.
inline constexpr const char* kShowCreditsNotification = "lmShouldShowCredits";
// Its user information: true when the book reads in Russian.
inline constexpr const char* kCreditsLanguageKey = "isEnLan";
// Posted by the shell when the credits screen has closed.
inline constexpr const char* kCreditsDidFinishNotification = "creditsdidfinishnotification";

// A narration recording's file name begins with this; a dialogue line's does not.
inline constexpr const char* kNarrationPrefix = "QRB";
// What follows the prefix in a page's narration: "QRB_p3_cn".
inline constexpr const char* kNarrationPagePrefix = "_p";
// Recording suffixes by language: Russian, and English (named "_cn" as the
// content table always has); the page-1 English narration has none.
inline constexpr const char* kRussianSuffix = "_ru";
inline constexpr const char* kChineseSuffix = "_cn";

// Layer identifiers: the part after the first "-". A "-cn" layer depends on the
// reading language and is built hidden; a "-t" layer is a figure that can be tapped.
inline constexpr const char* kLanguageLayerSuffix = "cn";
inline constexpr const char* kFigureLayerSuffix = "t";

// Whether a recording's file name (no folder) is a narration's.
bool isNarrationFile(const std::string& fileName);
// The recording of a page's narration: "QRB_p" page suffix.
std::string narrationRecording(int page, const char* suffix);
// The recording of a dialogue line of the content table, in Russian.
std::string dialogueRecording(const std::string& line);
// The same line in the reading `language`: the English recording in the
// English reading when `exists` finds it, the Russian one otherwise.
std::string dialogueRecording(const std::string& line, int language,
                              const std::function<bool(const std::string&)>& exists);
// Whether a layer identifier has the figure or the language suffix.
bool isFigureLayer(const std::string& identifier);
bool isLanguageLayer(const std::string& identifier);

}  // namespace lumoBookNames

// The part of a layer identifier after its first "-" ("s1layer2l-t" -> "t"),
// empty when it has none.
std::string lumoLayerSuffix(const std::string& identifier);
