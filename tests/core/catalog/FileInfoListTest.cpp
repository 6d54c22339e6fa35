#include "catalog/FileInfoList.h"

#include <gtest/gtest.h>

using namespace lumidex;

namespace {

FileInfoRecord record(int32_t level, int32_t index, std::string comment = {})
{
    FileInfoRecord r;
    r.level = level;
    r.index = index;
    r.comment = std::move(comment);
    return r;
}

TEST(FileInfoList, FindsByKeyKeepingStoredOrder)
{
    FileInfoList list;
    list.append(record(0, 0, "root"));
    list.append(record(1, 2, "b"));
    list.append(record(1, 1, "a"));
    list.append(record(3, 2000000000, "far away")); // not a dense index
    list.append(record(1, 2, "repeat"));            // the first with a key wins

    ASSERT_NE(list.find({1, 1}), nullptr);
    EXPECT_EQ(list.find({1, 1})->comment, "a");
    EXPECT_EQ(list.find({1, 2})->comment, "b");
    EXPECT_EQ(list.find({3, 2000000000})->comment, "far away");
    EXPECT_EQ(list.find({0, 2}), nullptr); // index known, level not
    EXPECT_EQ(list.find({-1, -1}), nullptr);
    EXPECT_EQ(list[1].comment, "b");

    // Appends after the lookup was built are found too.
    list.append(record(2, 7, "late"));
    EXPECT_EQ(list.find({2, 7})->comment, "late");
    list.findOrAppend({2, 8}).comment = "new";
    EXPECT_EQ(list.size(), 7u);
    EXPECT_EQ(list[6].comment, "new");
    EXPECT_EQ(&list.findOrAppend({1, 1}), list.find({1, 1}));
    EXPECT_EQ(list.size(), 7u);
}

} // namespace
