#include "common/text.h"

#include <gtest/gtest.h>

#include "test_text.h"

namespace {

TEST(Text, HoldsAnyByteAndCopiesByValue) {
  Text a("x\0y", 3);
  Text b = a;
  b += 'z';
  EXPECT_EQ(str(a), std::string("x\0y", 3));
  EXPECT_EQ(str(b), std::string("x\0yz", 4));
  EXPECT_EQ(b.c_str()[4], '\0');
  EXPECT_EQ(Text().c_str()[0], '\0');
}

TEST(Text, AppendsItself) {
  Text t("ab");
  for (int i = 0; i < 10; ++i) t += t;
  EXPECT_EQ(t.length(), 2048u);
  EXPECT_EQ(str(t.left(4)), "abab");
}

TEST(Text, PartsAndSearch) {
  Text t("hello world");
  EXPECT_EQ(str(t.left(5)), "hello");
  EXPECT_EQ(str(t.left(50)), "hello world");
  EXPECT_EQ(str(t.from(6)), "world");
  EXPECT_EQ(str(t.from(20)), "");
  EXPECT_EQ(t.find("o"), 4u);
  EXPECT_EQ(t.find("o", 5), 7u);
  EXPECT_EQ(t.find("xyz"), Text::npos);
  EXPECT_TRUE(t.starts_with("hell"));
  EXPECT_FALSE(t.starts_with("hello world!"));
}

TEST(Text, MovesLeaveAnEmptyText) {
  Text a("abc");
  Text b = static_cast<Text&&>(a);
  EXPECT_EQ(str(b), "abc");
  EXPECT_TRUE(a.empty());  // NOLINT: checking the moved-from state on purpose
  a = b;
  b = static_cast<Text&&>(a);
  EXPECT_EQ(str(b), "abc");
}

}  // namespace
