// The loader's index of names: exact comparison, the empty name, numbers
// that stay with their names, and growth past the room reserved.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/NameIndex.h"

namespace {

TEST(NameIndex, KeepsOneNumberPerNameAndComparesExactly) {
  TNameIndex index;
  EXPECT_EQ(index.Find("Fa"), nullptr);
  EXPECT_EQ(index.Entry("Fa", 1), 1u);
  index.Entry("Fa", 2) = 3;  // an existing name keeps its entry
  EXPECT_EQ(*index.Find("Fa"), 3u);
  EXPECT_EQ(index.Entry("FA", 4), 4u);
  EXPECT_EQ(index.Find("Fa "), nullptr);
  // The empty name is a name like any other, however its view was made.
  EXPECT_EQ(index.Find(""), nullptr);
  EXPECT_EQ(index.Entry(std::string_view(), 5), 5u);
  EXPECT_EQ(*index.Find(""), 5u);
  EXPECT_EQ(index.Size(), 3u);
}

TEST(NameIndex, GrowsPastTheReservedRoomKeepingEveryName) {
  std::vector<std::string> names;
  for (int i = 0; i < 5000; ++i)
    names.push_back(std::string("F").append(std::to_string(i * 7919 % 100003)));
  TNameIndex index;
  index.Reserve(10);
  for (std::uint32_t i = 0; i < names.size(); ++i) EXPECT_EQ(index.Entry(names[i], i), i);
  for (std::uint32_t i = 0; i < names.size(); ++i) {
    ASSERT_NE(index.Find(names[i]), nullptr) << names[i];
    EXPECT_EQ(*index.Find(names[i]), i);
  }
  EXPECT_EQ(index.Size(), names.size());
  EXPECT_EQ(index.Find("F100003"), nullptr);
}

}  // namespace
