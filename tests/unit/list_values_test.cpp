// List-valued configuration keys: rewriting one element of a ';' list,
// per-slot key names, and rewriting an element of a stored key.
#include "boardutil/list_values.h"

#include <gtest/gtest.h>

#include <string>

#include "nvram.h"
#include "tests/support/testbed.h"

namespace {

std::string nth(int n, const char *list, const char *value) {
  return set_nth_value(n, list, value);
}

TEST(SetNthValue, ReplacesOneElementAndKeepsTheOthers) {
  EXPECT_EQ(nth(0, "", "WEP"), "WEP");
  EXPECT_EQ(nth(0, "OPEN;WPA2PSK", "WEP"), "WEP;WPA2PSK");
  EXPECT_EQ(nth(1, "OPEN;WPA2PSK", "WEP"), "OPEN;WEP");
  EXPECT_EQ(nth(1, "OPEN;WPA2PSK", ""), "OPEN;");
  EXPECT_EQ(nth(0, ";", "AES"), "AES;");
  EXPECT_EQ(nth(1, "a;;c", "b"), "a;b;c");
}

TEST(SetNthValue, ElementsBeyondTheListAreAddedEmpty) {
  EXPECT_EQ(nth(2, "OPEN", "WEP"), "OPEN;;WEP");
  EXPECT_EQ(nth(7, "", "x"), ";;;;;;;x");
  EXPECT_EQ(nth(3, "a;b;", "d"), "a;b;;d");
}

TEST(SetNthValue, EightElementsAreKeptWholeWhateverIsReplaced) {
  const char *list = "e0;e1;e2;e3;e4;e5;e6;e7";
  EXPECT_EQ(nth(0, list, "X"), "X;e1;e2;e3;e4;e5;e6;e7");
  EXPECT_EQ(nth(6, list, "X"), "e0;e1;e2;e3;e4;e5;X;e7");
  EXPECT_EQ(nth(7, list, "X"), "e0;e1;e2;e3;e4;e5;e6;X");
  // Eight elements of which the last is empty keep the empty eighth.
  EXPECT_EQ(nth(0, "e0;e1;e2;e3;e4;e5;e6;", "X"), "X;e1;e2;e3;e4;e5;e6;");
}

TEST(SetNthValue, ListsLongerThanEightSlotsLoseNoElement) {
  const char *list = "e0;e1;e2;e3;e4;e5;e6;e7;e8;e9";
  EXPECT_EQ(nth(2, list, "X"), "e0;e1;X;e3;e4;e5;e6;e7;e8;e9");
  EXPECT_EQ(nth(7, list, "X"), "e0;e1;e2;e3;e4;e5;e6;X;e8;e9");
}

TEST(SetNthValue, SlotsOutsideZeroToSevenLeaveTheListUnchanged) {
  EXPECT_EQ(nth(8, "a;b", "X"), "a;b");
  EXPECT_EQ(nth(-1, "a;b", "X"), "a;b");
  EXPECT_EQ(nth(1000000, "", "X"), "");
}

TEST(SetNthValue, EveryTextIsBounded) {
  std::string long_value(300, 'v');
  EXPECT_EQ(nth(1, "a;b", long_value.c_str()), "a;" + std::string(255, 'v'));
  // A list beyond the buffer is cut at 2047 characters, never written past it.
  std::string huge(5000, 'h');
  EXPECT_EQ(nth(0, huge.c_str(), "x").size(), 1u);
  std::string result = nth(1, (huge + ";tail").c_str(), "x");
  EXPECT_EQ(result, huge.substr(0, 2047));
  // Eight elements of 255 characters each fill the buffer exactly.
  std::string element(255, 'e');
  std::string full = element;
  for (int i = 1; i < 8; ++i) full += ";" + element;
  ASSERT_EQ(full.size(), 2047u);
  EXPECT_EQ(nth(7, full.c_str(), element.c_str()), full);
}

TEST(SetNthValue, ResultsShareOneBufferAndMayBeFedBack) {
  const char *first = set_nth_value(0, "a;b", "x");
  const char *second = set_nth_value(1, first, "y");
  EXPECT_EQ(first, second);
  EXPECT_STREQ(second, "x;y");
}

TEST(Racat, AppendsTheNumberWithinThirtyOneCharacters) {
  EXPECT_STREQ(racat("SSID", 1), "SSID1");
  EXPECT_STREQ(racat("AccessControlList", 3), "AccessControlList3");
  EXPECT_STREQ(racat("WPAPSK", 12), "WPAPSK12");
  EXPECT_STREQ(racat("Key", -4), "Key-4");
  std::string name(40, 'n');
  EXPECT_EQ(std::string(racat(name.c_str(), 7)), std::string(31, 'n'));
  const char *first = racat("A", 1);
  racat("B", 2);
  EXPECT_STREQ(first, "B2");
}

TEST(SetNthValueFlash, LeavesAStoredListTooLongToRewriteAsItIs) {
  testbed::reset();
  std::string huge = std::string(2100, 'h') + ";tail";
  nvram_bufset(1, "HugeList", huge.c_str());
  EXPECT_EQ(set_nth_value_flash(1, 1, "HugeList", "x"), -1);
  EXPECT_EQ(std::string(nvram_bufget(1, "HugeList")), huge);
}

TEST(SetNthValueFlash, RewritesTheStoredListWithoutCommitting) {
  testbed::reset();
  nvram_bufset(1, "ListKey", "OPEN;WPA2PSK");
  EXPECT_EQ(set_nth_value_flash(1, 1, "ListKey", "WEP"), 0);
  EXPECT_STREQ(nvram_bufget(1, "ListKey"), "OPEN;WEP");
  // A key that is not set counts as the empty list.
  EXPECT_EQ(set_nth_value_flash(2, 1, "NeverSetKey", "AES"), 0);
  EXPECT_STREQ(nvram_bufget(2, "NeverSetKey"), ";AES");
  // Another process sees the list only once the set is committed.
  auto stored = [] {
    testbed::Process get = testbed::spawn(testbed::program("nvram"), {"get", "2", "NeverSetKey"});
    get.wait();
    return get.out();
  };
  EXPECT_EQ(stored(), "\n");
  nvram_commit(2);
  EXPECT_EQ(stored(), ";AES\n");
}

}  // namespace
