#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "NSCoder.h"
#include "NSData.h"
#include "NSKeyedArchiver.h"
#include "NSKeyedUnarchiver.h"
#include "TestSupport.h"

namespace {
class Page : public NSObject, public NSCoding {
 public:
  std::string title;
  std::int64_t number = 0;
  double scale = 0;
  bool seen = false;
  Ptr<Page> next;
  std::vector<Ptr<NSObject>> extras;
  std::vector<std::string> words;

  void encodeWithCoder(NSCoder& c) const override {
    c.encodeString(title, "title");
    c.encodeInteger(number, "number");
    c.encodeDouble(scale, "scale");
    c.encodeBool(seen, "seen");
    c.encodeObject(next.get(), "next");
    c.encodeArray(extras, "extras");
    c.encodeStringArray(words, "words");
  }
  bool initWithCoder(NSCoder& c) override {
    title = c.decodeStringForKey("title");
    number = c.decodeIntegerForKey("number");
    scale = c.decodeDoubleForKey("scale");
    seen = c.decodeBoolForKey("seen");
    next = c.decodeObjectOfClass<Page>("next");
    extras = c.decodeArrayForKey("extras");
    words = c.decodeStringArrayForKey("words");
    return number >= 0;  // a negative page number is refused
  }
};

// The name archives carry for Page (its namespace included).
std::string pageClass() {
  return makeObject<Page>()->className();
}

// An archive whose root is one Page with the given values (JSON text).
std::string onePage(const std::string& values) {
  return R"({"archiver":"lumo-keyed-archive","version":1,"root":{"$ref":0},"objects":[{"class":")" +
         pageClass() + R"(","values":)" + values + "}]}";
}

Ptr<Page> page(const std::string& title, std::int64_t number) {
  auto p = makeObject<Page>();
  p->title = title;
  p->number = number;
  return p;
}

class KeyedArchive : public ::testing::Test {
 protected:
  void SetUp() override {
    NSKeyedUnarchiver::registerClass<Page>();
    liveBefore_ = NSObject::liveObjectCount();
  }
  void TearDown() override {
    EXPECT_EQ(NSObject::liveObjectCount(), liveBefore_) << "objects leaked";
  }
  static std::string sampleArchive() {
    auto first = page("cover \u0434\u0430", 1);
    first->scale = 0.46875;
    first->seen = true;
    first->words = {"once", "upon"};
    auto shared = page("shared", 2);
    first->next = shared;
    first->extras = {shared, nullptr, page("third", 3)};
    return NSKeyedArchiver::archivedDataWithRootObject(first.get()).value_or("");
  }

 private:
  std::int64_t liveBefore_ = 0;
};
}  // namespace

TEST_F(KeyedArchive, RoundTripKeepsValuesAndSharedObjects) {
  const std::string data = sampleArchive();
  ASSERT_FALSE(data.empty());
  auto root = dynamicPtrCast<Page>(NSKeyedUnarchiver::unarchiveObjectWithData(data));
  ASSERT_TRUE(root);
  EXPECT_EQ(root->title, "cover \u0434\u0430");
  EXPECT_EQ(root->number, 1);
  EXPECT_EQ(root->scale, 0.46875);
  EXPECT_TRUE(root->seen);
  EXPECT_EQ(root->words, (std::vector<std::string>{"once", "upon"}));
  ASSERT_TRUE(root->next);
  EXPECT_EQ(root->next->title, "shared");
  ASSERT_EQ(root->extras.size(), 3u);
  EXPECT_EQ(root->extras[0].get(), root->next.get()) << "one object written twice reads back once";
  EXPECT_FALSE(root->extras[1]);
  EXPECT_EQ(dynamicPtrCast<Page>(root->extras[2])->number, 3);
  EXPECT_FALSE(root->next->next);
  EXPECT_TRUE(root->next->words.empty());
}

TEST_F(KeyedArchive, RefusesGraphsItCannotWrite) {
  auto a = page("a", 1), b = page("b", 2);
  a->next = b;
  b->next = a;
  EXPECT_FALSE(NSKeyedArchiver::archivedDataWithRootObject(a.get()));
  b->next = nullptr;  // break the cycle for the leak check

  a->extras = {makeObject<NSObject>()};
  EXPECT_FALSE(NSKeyedArchiver::archivedDataWithRootObject(a.get()));
  a->extras.clear();
  a->title = std::string("bad \xff utf-8");
  EXPECT_FALSE(NSKeyedArchiver::archivedDataWithRootObject(a.get()));
  EXPECT_EQ(NSKeyedArchiver::archivedDataWithRootObject(nullptr).has_value(), true);
}

TEST_F(KeyedArchive, CorruptArchivesReadAsNothing) {
  const std::string good = sampleArchive();
  const std::string head = R"({"archiver":"lumo-keyed-archive","version":1,)";
  const std::vector<std::string> corrupt = {
      "",
      "not json",
      "{}",
      "[]",
      "null",
      head + R"("root":{"$ref":0},"objects":[]})",  // dangling
      head + R"("root":{"$ref":0},"objects":[{"class":"Nobody","values":{}}]})",
      onePage(R"({"next":{"$ref":0}})"),  // a cycle
      onePage(R"({"number":"x"})"),
      onePage(R"({"title":5})"),
      onePage(R"({"seen":1})"),
      onePage(R"({"number":1e300})"),
      onePage(R"({"number":-4})"),  // refused by the class
      onePage(R"({"words":["a",1]})"),
      onePage(R"({"words":"a"})"),
      onePage(R"({"extras":[7]})"),
      onePage(R"({"extras":[{"$ref":3}]})"),
      onePage(R"([])"),
      head + R"("root":{"$ref":-1},"objects":[]})",
      head + R"("root":{"$ref":0},"objects":[{"class":")" + pageClass() + R"("}]})",
      R"({"archiver":"lumo-keyed-archive","version":2,"root":null,"objects":[]})",
      std::string(100000, '[') + std::string(100000, ']'),
  };
  ASSERT_TRUE(NSKeyedUnarchiver::unarchiveObjectWithData(onePage(R"({"number":4})")))
      << "the damaged forms below must differ from a readable one only by the damage";
  for (const std::string& text : corrupt)
    EXPECT_FALSE(NSKeyedUnarchiver::unarchiveObjectWithData(text)) << text.substr(0, 200);

  // Every truncation of a good archive is refused; no byte change may crash.
  for (std::size_t n = 0; n < good.size(); ++n)
    EXPECT_FALSE(NSKeyedUnarchiver::unarchiveObjectWithData(good.substr(0, n))) << n;
  for (std::size_t i = 0; i < good.size(); ++i)
    for (char c : {'0', '9', '"', '{', ']', '-', 'x'}) {
      std::string damaged = good;
      damaged[i] = c;
      NSKeyedUnarchiver::unarchiveObjectWithData(damaged);
    }
}

TEST_F(KeyedArchive, ChainsTooDeepAreRefusedNotOverflowed) {
  const std::string head =
      R"({"archiver":"lumo-keyed-archive","version":1,"root":{"$ref":0},"objects":[)";
  auto chain = [&](int length) {
    std::string text = head;
    for (int i = 0; i < length; ++i) {
      if (i) text += ",";
      text += R"({"class":")" + pageClass() + R"(","values":{"number":)" + std::to_string(i);
      if (i + 1 < length) text += R"(,"next":{"$ref":)" + std::to_string(i + 1) + "}";
      text += "}}";
    }
    return text + "]}";
  };
  auto ok = dynamicPtrCast<Page>(NSKeyedUnarchiver::unarchiveObjectWithData(chain(50)));
  ASSERT_TRUE(ok);
  int length = 0;
  for (Page* p = ok.get(); p; p = p->next.get()) ++length;
  EXPECT_EQ(length, 50);
  ok = nullptr;
  EXPECT_FALSE(NSKeyedUnarchiver::unarchiveObjectWithData(chain(1000)));
}

TEST_F(KeyedArchive, FilesAreWrittenAtomicallyAndReadBack) {
  TempDir dir;
  const std::string path = dir.file("deep/folder/book.archive");
  auto p = page("file", 9);
  ASSERT_TRUE(NSKeyedArchiver::archiveRootObject(p.get(), path));
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
  auto back = dynamicPtrCast<Page>(NSKeyedUnarchiver::unarchiveObjectWithFile(path));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->number, 9);
  EXPECT_FALSE(NSKeyedUnarchiver::unarchiveObjectWithFile(dir.file("missing.archive")));
  EXPECT_FALSE(NSKeyedUnarchiver::unarchiveObjectWithFile(dir.path()));  // a folder

  // A failed write leaves the previous file whole.
  std::filesystem::create_directories(path + ".tmp");  // the temporary name is taken
  p->number = 10;
  EXPECT_FALSE(NSKeyedArchiver::archiveRootObject(p.get(), path));
  back = dynamicPtrCast<Page>(NSKeyedUnarchiver::unarchiveObjectWithFile(path));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->number, 9);
}

TEST(Data, ReadsWholeFilesUpToALimit) {
  TempDir dir;
  ASSERT_TRUE(NSData::writeToFile(std::string("a\0b", 3), dir.file("x/y.bin"), true));
  EXPECT_EQ(NSData::dataWithContentsOfFile(dir.file("x/y.bin"), 3), std::string("a\0b", 3));
  EXPECT_FALSE(NSData::dataWithContentsOfFile(dir.file("x/y.bin"), 2));
  EXPECT_FALSE(NSData::dataWithContentsOfFile(dir.file("none"), 100));
  ASSERT_TRUE(NSData::writeToFile("plain", dir.file("p.txt"), false));
  EXPECT_EQ(NSData::dataWithContentsOfFile(dir.file("p.txt"), 100), "plain");
  EXPECT_FALSE(NSData::writeToFile("x", dir.file("p.txt/under-a-file"), true));
  EXPECT_FALSE(NSData::writeToFile("x", "", true));
}
