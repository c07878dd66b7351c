// The loader's set of field names: exact comparison, the empty name, and
// growth past the room reserved.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/NameSet.h"

namespace {

TEST(NameSet, InsertsEachNameOnceAndComparesExactly) {
  TNameSet set;
  EXPECT_FALSE(set.Contains("Fa"));
  EXPECT_TRUE(set.Insert("Fa"));
  EXPECT_FALSE(set.Insert("Fa"));
  EXPECT_TRUE(set.Insert("FA"));
  EXPECT_TRUE(set.Insert("Fa "));
  // The empty name is a name like any other, however its view was made.
  EXPECT_FALSE(set.Contains(""));
  EXPECT_TRUE(set.Insert(std::string_view()));
  EXPECT_FALSE(set.Insert(""));
  EXPECT_TRUE(set.Contains(std::string_view()));
  EXPECT_EQ(set.Size(), 4u);
}

TEST(NameSet, GrowsPastTheReservedRoomKeepingEveryName) {
  std::vector<std::string> names;
  for (int i = 0; i < 5000; ++i)
    names.push_back(std::string("F").append(std::to_string(i * 7919 % 100003)));
  TNameSet set;
  set.Reserve(10);
  for (const std::string& name : names) EXPECT_TRUE(set.Insert(name)) << name;
  for (const std::string& name : names) EXPECT_FALSE(set.Insert(name)) << name;
  EXPECT_EQ(set.Size(), names.size());
  EXPECT_FALSE(set.Contains("F100003"));
}

}  // namespace
