#include "catalog/DiscTree.h"
#include "catalog/TreeItem.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace lumidex;

namespace {

// A (A1, A2), B
DiscTree smallTree()
{
    DiscTree t;
    const int32_t a = t.append(DiscTree::kNone, "A", 1, 1);
    t.append(a, "A1", 3, 3);
    t.append(a, "A2", 3, 3);
    t.append(DiscTree::kNone, "B", 3, 3);
    return t;
}

TEST(DiscTree, KeysAndNavigationFollowPreOrder)
{
    const DiscTree t = smallTree();
    ASSERT_EQ(t.size(), 4);
    EXPECT_EQ(t.topLevelCount(), 2);
    const std::vector<ItemKey> keys = {{0, 0}, {1, 1}, {1, 2}, {0, 3}};
    for (int32_t i = 0; i < t.size(); ++i) {
        EXPECT_EQ(t.key(i), keys[size_t(i)]);
        EXPECT_EQ(t.find(keys[size_t(i)]), i);
    }
    EXPECT_EQ(t.find({0, 1}), DiscTree::kNone); // right index, wrong level
    EXPECT_EQ(t.find({0, 4}), DiscTree::kNone);
    EXPECT_EQ(t.nextSibling(0), 3);
    EXPECT_EQ(t.nextSibling(1), 2);
    EXPECT_EQ(t.nextSibling(2), DiscTree::kNone);
    EXPECT_EQ(t.nextSibling(3), DiscTree::kNone);
    EXPECT_EQ(t.descendantCount(0), 2);
    EXPECT_EQ(t.parent(2), 0);
    EXPECT_EQ(t.firstChild(0), 1);
    EXPECT_EQ(t.firstChild(1), DiscTree::kNone);
}

TEST(ItemKey, TextFormBothWays)
{
    EXPECT_EQ((ItemKey{2, 57}.text()), "[2,57]\n");
    EXPECT_EQ(ItemKey::parse("[2,57]\n"), (ItemKey{2, 57}));
    for (const char* bad : {"[2,57]", "2,57]\n", "[2;57]\n", "[,5]\n", "[a,5]\n", "[1,5]\n\n"})
        EXPECT_FALSE(ItemKey::parse(bad)) << bad;
}

TEST(TreeBlock, WritesPreOrderWithChildCountsAndReadsBack)
{
    const DiscTree t = smallTree();
    const QByteArray bytes = test::writeBytes([&](ArchiveWriter& w) { writeTreeBlock(w, t); });
    const QByteArray expected = test::writeBytes([](ArchiveWriter& w) {
        for (auto [text, image, children] : {std::tuple{"A", 1, 2}, {"A1", 3, 0}, {"A2", 3, 0}, {"B", 3, 0}}) {
            w.writeString(text);
            w.writeInt32(image);
            w.writeInt32(image);
            w.writeInt32(children);
        }
    });
    EXPECT_EQ(test::hex(bytes), test::hex(expected));

    DiscTree back;
    const int64_t used = test::readBytes(bytes, [&](ArchiveReader& r) {
        readTreeBlock(r, back, DiscTree::kNone);
        readTreeBlock(r, back, DiscTree::kNone);
    });
    EXPECT_EQ(used, bytes.size());
    ASSERT_EQ(back.size(), 4);
    for (int32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(back.text(i), t.text(i));
        EXPECT_EQ(back.level(i), t.level(i));
        EXPECT_EQ(back.childCount(i), t.childCount(i));
        EXPECT_EQ(back.image(i), t.image(i));
    }
}

TEST(TreeBlock, OneReadTakesExactlyOneSubtree)
{
    const DiscTree t = smallTree();
    const QByteArray bytes = test::writeBytes([&](ArchiveWriter& w) { writeTreeBlock(w, t); });
    DiscTree back;
    const int64_t used = test::readBytes(bytes, [&](ArchiveReader& r) { readTreeBlock(r, back, DiscTree::kNone); });
    EXPECT_EQ(back.size(), 3);
    EXPECT_LT(used, bytes.size());
}

TEST(TreeBlock, DeepChainAndHostileChildCounts)
{
    // A chain of single children deep enough to overflow a recursive reader.
    const int depth = 200000;
    const QByteArray chain = test::writeBytes([&](ArchiveWriter& w) {
        for (int i = 0; i < depth; ++i) {
            w.writeString("d");
            w.writeInt32(1);
            w.writeInt32(1);
            w.writeInt32(i + 1 < depth ? 1 : 0);
        }
    });
    DiscTree deep;
    test::readBytes(chain, [&](ArchiveReader& r) { readTreeBlock(r, deep, DiscTree::kNone); });
    EXPECT_EQ(deep.size(), depth);
    EXPECT_EQ(deep.level(depth - 1), depth - 1);

    // A node claiming two billion children in a few bytes ends at the end of the file.
    const QByteArray hostile = test::writeBytes([](ArchiveWriter& w) {
        w.writeString("x");
        w.writeInt32(1);
        w.writeInt32(1);
        w.writeInt32(2000000000);
    });
    DiscTree t;
    EXPECT_THROW(test::readBytes(hostile, [&](ArchiveReader& r) { readTreeBlock(r, t, DiscTree::kNone); }),
                 ArchiveError);

    // A negative child count reads as a leaf.
    const QByteArray negative = test::writeBytes([](ArchiveWriter& w) {
        w.writeString("x");
        w.writeInt32(3);
        w.writeInt32(3);
        w.writeInt32(-5);
    });
    DiscTree leaf;
    test::readBytes(negative, [&](ArchiveReader& r) { readTreeBlock(r, leaf, DiscTree::kNone); });
    EXPECT_EQ(leaf.size(), 1);
    EXPECT_EQ(leaf.childCount(0), 0);
}

TEST(TreeItem, FromTreeCountsChildrenAndKeepsLongNames)
{
    DiscTree t = smallTree();
    const std::string longName(300, 'n');
    t.append(3, longName, 3, 3);
    const CTreeItem a = CTreeItem::fromTree(t, 0);
    EXPECT_EQ(a.childCount, 2);
    EXPECT_EQ(a.itemData, 2u);
    EXPECT_EQ(a.textCapacity, 260);
    EXPECT_EQ(CTreeItem::fromTree(t, 4).text, longName);
    EXPECT_EQ(CTreeItem::fromTree(t, 3).childCount, 1);
}

} // namespace
