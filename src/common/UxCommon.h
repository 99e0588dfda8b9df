#pragma once
#include <climits>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "Assert.h"
#include "NSDate.h"
#include "NSObject.h"

class UIView;
class UIAlertViewDelegate;
class UINavigationItem;

// General-purpose class operations: sorting, strings, dates, archiving and
// small view chores. The prefix of a name tells its result: s a string,
// d a date, v nothing, b a boolean, obj an object, sa and arr an array.
//
// Strings are UTF-8; positions, lengths and reversal count characters (code
// points), a byte that is not valid UTF-8 counting as one character. Index
// and step arguments are the caller's responsibility: bad ones fail an
// assertion.
class UxCommon {
 public:
  UxCommon() = delete;

  // ---- Sorting and arrays -------------------------------------------------
  // Elements are strings, numbers, or objects (values or pointers) with
  // intValue() and/or tag(). The sort key is tag() when `type` is "tag",
  // intValue() otherwise; a null pointer's key is 0.

  // Merge sort by key, ascending. On equal keys the element of the right half
  // is taken first, so the sort is not stable.
  template <class T>
  static void vMergeSort(std::vector<T>& array, const std::string& type = "") {
    if (!array.empty()) vMerge_Sort(array, 0, std::ptrdiff_t(array.size()) - 1, type);
  }
  // Sorts the index range [left, right].
  template <class T>
  static void vMerge_Sort(std::vector<T>& array, std::ptrdiff_t left, std::ptrdiff_t right,
                          const std::string& type) {
    if (left >= right) return;
    CCAssert(left >= 0 && right < std::ptrdiff_t(array.size()), "sort range outside the array");
    const std::ptrdiff_t center = (left + right) / 2;
    vMerge_Sort(array, left, center, type);
    vMerge_Sort(array, center + 1, right, type);
    vMerge(array, left, center, right, type);
  }
  // Merges the sorted ranges [left, center] and [center + 1, right].
  template <class T>
  static void vMerge(std::vector<T>& array, std::ptrdiff_t left, std::ptrdiff_t center,
                     std::ptrdiff_t right, const std::string& type);

  // Sorts `array` by intValue in place and answers the first element of each
  // run of equal values.
  template <class T>
  static std::vector<T> arrDistinct(std::vector<T>& array);
  // The largest intValue; INT_MIN for an empty array.
  template <class T>
  static int getMAXValueFrom(const std::vector<T>& array);
  // Sorts ascending by character codes (UTF-16 order), stably.
  static void vStringCompareOfA(std::vector<std::string>& array);

  // The leading decimal integer of the text after white space, with its
  // sign; 0 when there is none; INT_MAX or INT_MIN when out of range.
  static int intValueOfS(const std::string& s);

  // ---- Strings --------------------------------------------------------------
  static std::string sOfBool(bool value);
  static std::string sOfI(int value);
  static std::string sClearSpaceOfS(const std::string& s);
  static std::string sClearFrontSpaceOfS(const std::string& s);
  static std::string sClearNOfS(const std::string& s);
  static std::string sAddEnterOfS(const std::string& s);
  static std::string sAddQuotationMarkOfS(const std::string& s);
  static std::string sFillBlankOfS(const std::string& s, int length);
  // Every occurrence of `from` replaced; an empty `from` changes nothing.
  static std::string sReplace(const std::string& from, const std::string& to, const std::string& s);
  static std::string sReverseOfS(const std::string& s);
  // Characters start..end inclusive; -1 leaves an end open: only end given,
  // the characters before end; only start, from start on; neither, "nil".
  static std::string sStartIndex(int start, int end, const std::string& s);
  // `separator` after every step-th character, never after the first or last.
  static std::string sAddSeparate(const std::string& separator, int step, const std::string& s);
  // "1234567" -> "1,234,567"; a leading sign stays in front.
  static std::string sSplitByThousandOfS(const std::string& s);
  // From the first `w1` up to and including the first `w2` at or after it;
  // when that `w2` begins where `w1` does, the last `w2` in the text closes
  // the span. "nil" when either word is empty or not found.
  static std::string sBetweenW1(const std::string& w1, const std::string& w2, const std::string& s);
  // The pieces separated by runs of three or more spaces, without the spaces
  // at either end of the text; empty pieces are left out.
  static std::vector<std::string> saSplitMultiSpaceOfS(const std::string& s);

  // ---- Dates (local time zone, English names) ------------------------------
  static std::string sGetNowDateAndTime();  // "yyyy-MM-dd HH:mm:ss"
  static std::string sGetNowDate();         // "yyyy-MM-dd"
  static std::string sGetNowTime();         // "HH:mm:ss"
  // Empty for an absent date.
  static std::string sOfD(const std::optional<NSDate>& date, const std::string& format);
  static std::optional<NSDate> dOfS(const std::string& s, const std::string& format);
  // The same day at 00:00:00.
  static std::optional<NSDate> dRemoveTimeOfD(const std::optional<NSDate>& date);
  static std::string sNumberToMonthOfS(const std::string& s);  // "12" -> "Dec"
  static std::string sMonthToNumberOfS(const std::string& s);  // "Dec" -> "12"
  // "2011-12-20" split at "-" -> "20-Dec-2011"; text that does not split into
  // exactly three parts comes back unchanged.
  static std::string sAllNumberToWordMiddleOfS(const std::string& s, const std::string& split);
  // "20-Dec-2011" -> "2011-12-20", likewise.
  static std::string sWordMiddleToAllNumberOfS(const std::string& s, const std::string& split);

  // ---- Archiving in the user's documents folder ----------------------------
  // Null when the file is missing or not a readable archive.
  static Ptr<NSObject> objLoadFromFile(const std::string& name);
  // False without a documents folder, for an object that cannot be archived
  // or when the write fails. `name` is relative and may not leave the folder.
  static bool bSaveToFileSerializable(const std::string& name, NSObject* object);

  // ---- Views ---------------------------------------------------------------
  // Covers `view` with a new black view that takes its touches; `refObj`
  // receives the cover (a previous cover held there is removed first).
  static void vAddCoverViewTo(UIView* view, Ptr<UIView>& refObj);
  // Removes the cover held in `refObj` and clears it; nothing when it is null.
  static void vRemoveCoverViewFrom(UIView* view, Ptr<UIView>& refObj);
  static constexpr const char* kDefaultAlertTitle = "Lumo Book";
  // An empty title shows kDefaultAlertTitle; empty button titles are left out.
  static void vAlertWithTitle(const std::string& title, const std::string& mes,
                              UIAlertViewDelegate* del, const std::string& cBtnTitle,
                              const std::string& oBtnTitle, int tag);
  // A plain bar button as the right (true) or left button of `nav`.
  static void vBarButtonWithTitle(const std::string& title, NSObject* tar, Selector<NSObject*> sel,
                                  bool right, UINavigationItem* nav);

 private:
  template <class T>
  static std::int64_t keyOf(const T& element, bool byTag);
  static std::string documentPathOfS(const std::string& name);
};

template <class T>
std::int64_t UxCommon::keyOf(const T& e, bool byTag) {
  if constexpr (std::is_convertible_v<const T&, std::string>) {
    CCAssert(!byTag, "strings have no tag");
    return intValueOfS(std::string(e));
  } else if constexpr (std::is_integral_v<T>) {
    CCAssert(!byTag, "numbers have no tag");
    return static_cast<std::int64_t>(e);
  } else if constexpr (requires {
                         e == nullptr;
                         *e;
                       }) {
    return e == nullptr ? 0 : keyOf(*e, byTag);
  } else {
    static_assert(
        requires { e.intValue(); } || requires { e.tag(); },
        "sorted elements need intValue() or tag()");
    if (byTag) {
      if constexpr (requires { e.tag(); }) return static_cast<std::int64_t>(e.tag());
      CCAssert(false, "the elements have no tag");
    } else {
      if constexpr (requires { e.intValue(); }) return static_cast<std::int64_t>(e.intValue());
      CCAssert(false, "the elements have no intValue");
    }
    return 0;
  }
}

template <class T>
void UxCommon::vMerge(std::vector<T>& array, std::ptrdiff_t left, std::ptrdiff_t center,
                      std::ptrdiff_t right, const std::string& type) {
  CCAssert(left >= 0 && left <= center && center <= right && right < std::ptrdiff_t(array.size()),
           "merge range outside the array");
  const bool byTag = type == "tag";
  std::vector<T> merged;
  merged.reserve(static_cast<std::size_t>(right - left + 1));
  std::ptrdiff_t i = left, j = center + 1;
  while (i <= center && j <= right) {
    // Strictly less: on equal keys the right half goes first.
    if (keyOf(array[i], byTag) < keyOf(array[j], byTag))
      merged.push_back(std::move(array[i++]));
    else
      merged.push_back(std::move(array[j++]));
  }
  while (i <= center) merged.push_back(std::move(array[i++]));
  while (j <= right) merged.push_back(std::move(array[j++]));
  for (std::size_t k = 0; k < merged.size(); ++k)
    array[left + std::ptrdiff_t(k)] = std::move(merged[k]);
}

template <class T>
std::vector<T> UxCommon::arrDistinct(std::vector<T>& array) {
  vMergeSort(array, "");
  std::vector<T> distinct;
  // The first element always starts a run, whatever its value.
  for (std::size_t k = 0; k < array.size(); ++k)
    if (k == 0 || keyOf(array[k], false) != keyOf(array[k - 1], false))
      distinct.push_back(array[k]);
  return distinct;
}

template <class T>
int UxCommon::getMAXValueFrom(const std::vector<T>& array) {
  std::int64_t best = INT_MIN;
  for (const T& e : array) {
    std::int64_t key = keyOf(e, false);
    if (key > best) best = key;
  }
  return best > INT_MAX ? INT_MAX : static_cast<int>(best);
}
