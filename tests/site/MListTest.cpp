// The owning cursor list: cursor moves, ownership and the list record.
#include "ByteStreams.h"

#include "site/MList.h"

#include <gtest/gtest.h>

#include <QString>
#include <QTextStream>

#include <array>
#include <vector>

using namespace Quorvel1;
using SiteTest::Bytes;

namespace {

// A list item with a one-byte persistent block that counts its destructions.
class ByteItem : public TMListItem {
public:
    explicit ByteItem(int value = 0, int* destroyed = nullptr)
        : value(static_cast<std::uint8_t>(value)), destroyed_(destroyed) {}
    ~ByteItem() override
    {
        if (destroyed_)
            ++*destroyed_;
    }
    std::size_t PersistentSize() const override { return 1; }
    void SerialiseBlock(std::span<std::uint8_t> block) const override { block[0] = value; }
    void ParseBlock(std::span<const std::uint8_t> block) override { value = block[0]; }
    void Print(QTextStream& out) const override { out << "item " << value; }

    std::uint8_t value;

private:
    int* destroyed_;
};

class ByteList : public TMList {
public:
    std::unique_ptr<TMListItem> NewItem() override { return std::make_unique<ByteItem>(); }
    QString Name() const override { return QStringLiteral("BYTES"); }
};

int ValueOf(TMListItem* item)
{
    return item ? static_cast<ByteItem*>(item)->value : -1;
}

std::vector<int> Values(TMList& list)
{
    std::vector<int> values;
    for (TMListItem* item = list.First(); item; item = list.Next())
        values.push_back(ValueOf(item));
    return values;
}

void Fill(TMList& list, std::initializer_list<int> values)
{
    for (int v : values)
        list.Append(std::make_unique<ByteItem>(v));
}

} // namespace

TEST(MList, NewListIsEmptyWithoutCursor)
{
    ByteList list;
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.CurrentIndex(), -1);
    EXPECT_EQ(list.Current(), nullptr);
    EXPECT_EQ(list.First(), nullptr);
    EXPECT_EQ(list.CurrentIndex(), -1);
    EXPECT_EQ(list.Next(), nullptr);
}

TEST(MList, AppendToEmptyListPutsCursorOnItem)
{
    ByteList list;
    Fill(list, {7});
    EXPECT_EQ(ValueOf(list.Current()), 7);
    EXPECT_EQ(list.CurrentIndex(), 0);
}

TEST(MList, AppendToNonEmptyListLeavesCursor)
{
    ByteList list;
    Fill(list, {7, 8});
    EXPECT_EQ(ValueOf(list.Current()), 7);
    EXPECT_EQ(list.CurrentIndex(), 0);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(ValueOf(list.Tail()), 8);
}

TEST(MList, NextStopsOnLastItem)
{
    ByteList list;
    Fill(list, {1, 2});
    list.First();
    EXPECT_EQ(ValueOf(list.Next()), 2);
    EXPECT_EQ(list.Next(), nullptr);
    EXPECT_EQ(ValueOf(list.Current()), 2);
    EXPECT_EQ(list.CurrentIndex(), 1);
}

TEST(MList, InsertGoesBeforeCursorWhichKeepsItsItem)
{
    ByteList list;
    Fill(list, {1, 2, 3});
    list.Seek(1);
    list.Insert(std::make_unique<ByteItem>(9));
    EXPECT_EQ(ValueOf(list.Current()), 2);
    EXPECT_EQ(list.CurrentIndex(), 2);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(Values(list), (std::vector<int>{1, 9, 2, 3}));
}

TEST(MList, InsertAtHeadBecomesHead)
{
    ByteList list;
    Fill(list, {1, 2});
    list.First();
    list.Insert(std::make_unique<ByteItem>(0));
    EXPECT_EQ(ValueOf(list.Head()), 0);
    EXPECT_EQ(list.Head()->Prev, nullptr);
    EXPECT_EQ(list.CurrentIndex(), 1);
    EXPECT_EQ(Values(list), (std::vector<int>{0, 1, 2}));
}

TEST(MList, InsertIntoEmptyListAppends)
{
    ByteList list;
    list.Insert(std::make_unique<ByteItem>(5));
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.CurrentIndex(), 0);
    EXPECT_EQ(ValueOf(list.Tail()), 5);
}

TEST(MList, UnlinkOfLastItemMovesCursorBack)
{
    ByteList list;
    Fill(list, {1, 2, 3});
    list.Seek(2);
    std::unique_ptr<TMListItem> item = list.Unlink();
    EXPECT_EQ(ValueOf(item.get()), 3);
    EXPECT_EQ(ValueOf(list.Current()), 2);
    EXPECT_EQ(list.CurrentIndex(), 1);
    EXPECT_EQ(ValueOf(list.Tail()), 2);
    EXPECT_EQ(list.Tail()->Next, nullptr);
    EXPECT_EQ(list.Count(), 2);
}

TEST(MList, UnlinkInTheMiddleMovesCursorToFollowerAtSameIndex)
{
    ByteList list;
    Fill(list, {1, 2, 3});
    list.Seek(1);
    std::unique_ptr<TMListItem> item = list.Unlink();
    EXPECT_EQ(ValueOf(item.get()), 2);
    EXPECT_EQ(ValueOf(list.Current()), 3);
    EXPECT_EQ(list.CurrentIndex(), 1);
    EXPECT_EQ(list.Head()->Next, list.Tail());
    EXPECT_EQ(list.Tail()->Prev, list.Head());
}

TEST(MList, UnlinkedItemKeepsItsLinks)
{
    ByteList list;
    Fill(list, {1, 2, 3});
    TMListItem* first = list.First();
    TMListItem* third = list.Tail();
    list.Seek(1);
    std::unique_ptr<TMListItem> item = list.Unlink();
    EXPECT_EQ(item->Prev, first);
    EXPECT_EQ(item->Next, third);
}

TEST(MList, UnlinkOfOnlyItemEmptiesList)
{
    ByteList list;
    Fill(list, {1});
    std::unique_ptr<TMListItem> item = list.Unlink();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.CurrentIndex(), -1);
    EXPECT_EQ(list.Current(), nullptr);
    EXPECT_EQ(list.Head(), nullptr);
    EXPECT_EQ(list.Tail(), nullptr);
}

TEST(MList, UnlinkWithoutCursorGivesNothing)
{
    ByteList list;
    EXPECT_EQ(list.Unlink(), nullptr);
}

TEST(MList, SeekWalksBothWays)
{
    ByteList list;
    Fill(list, {10, 11, 12, 13});
    EXPECT_EQ(ValueOf(list.Seek(3)), 13);
    EXPECT_EQ(list.CurrentIndex(), 3);
    EXPECT_EQ(ValueOf(list.Seek(1)), 11);
    EXPECT_EQ(list.CurrentIndex(), 1);
    EXPECT_EQ(ValueOf(list.Seek(1)), 11);
}

TEST(MList, SeekBeyondEitherEndLeavesCursor)
{
    ByteList list;
    Fill(list, {10, 11, 12});
    list.Seek(1);
    EXPECT_EQ(list.Seek(3), nullptr);
    EXPECT_EQ(list.Seek(-1), nullptr);
    EXPECT_EQ(ValueOf(list.Current()), 11);
    EXPECT_EQ(list.CurrentIndex(), 1);
}

TEST(MList, DeleteCurrentClearAndDestructorDestroyItems)
{
    int destroyed = 0;
    {
        ByteList list;
        for (int v : {1, 2, 3, 4})
            list.Append(std::make_unique<ByteItem>(v, &destroyed));
        list.Seek(2);
        list.DeleteCurrent();
        EXPECT_EQ(destroyed, 1);
        EXPECT_EQ(Values(list), (std::vector<int>{1, 2, 4}));
        list.Clear();
        EXPECT_EQ(destroyed, 4);
        EXPECT_EQ(list.Count(), 0);
        EXPECT_EQ(list.CurrentIndex(), -1);
        list.Append(std::make_unique<ByteItem>(5, &destroyed));
    }
    EXPECT_EQ(destroyed, 5);
}

TEST(MList, EmptyListWritesZeroCount)
{
    ByteList list;
    SiteTest::WriteBuffer out;
    ASSERT_TRUE(list.Write(out.Stream()));
    EXPECT_EQ(out.Data(), Bytes({0x00, 0x00}));
}

TEST(MList, WriteGivesCountThenItemsAndRestoresCursor)
{
    ByteList list;
    Fill(list, {0xA1, 0xB2, 0xC3});
    list.Seek(1);
    SiteTest::WriteBuffer out;
    ASSERT_TRUE(list.Write(out.Stream()));
    EXPECT_EQ(out.Data(), Bytes({0x03, 0x00, 0xA1, 0xB2, 0xC3}));
    EXPECT_EQ(list.CurrentIndex(), 1);
    EXPECT_EQ(ValueOf(list.Current()), 0xB2);
}

TEST(MList, WriteFailsWhenTheStreamFills)
{
    ByteList list;
    Fill(list, {1, 2, 3});
    SiteTest::FullDevice full(3);
    TBinaryStream stream(full);
    EXPECT_FALSE(list.Write(stream));
    EXPECT_EQ(full.written, Bytes({0x03, 0x00, 0x01}));
}

TEST(MList, CountOfMoreThan255ItemsIsLittleEndian)
{
    ByteList list;
    for (int i = 0; i < 0x102; ++i)
        list.Append(std::make_unique<ByteItem>(i));
    SiteTest::WriteBuffer out;
    ASSERT_TRUE(list.Write(out.Stream()));
    EXPECT_EQ(out.Data().left(2), Bytes({0x02, 0x01}));
    EXPECT_EQ(out.Data().size(), 2 + 0x102);
}

TEST(MList, ReadReplacesItemsAndPutsCursorOnFirst)
{
    ByteList list;
    Fill(list, {9, 9});
    SiteTest::ReadBuffer in(Bytes({0x02, 0x00, 0x05, 0x06}));
    ASSERT_TRUE(list.Read(in.Stream()));
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.CurrentIndex(), 0);
    EXPECT_EQ(Values(list), (std::vector<int>{5, 6}));
}

TEST(MList, ReadOfShortRecordKeepsItemsReadSoFar)
{
    int destroyed = 0;
    ByteList list;
    list.Append(std::make_unique<ByteItem>(1, &destroyed));
    SiteTest::ReadBuffer in(Bytes({0x03, 0x00, 0x05, 0x06}));
    EXPECT_FALSE(list.Read(in.Stream()));
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(Values(list), (std::vector<int>{5, 6}));
}

TEST(MList, ReadWithoutCountFailsAndKeepsList)
{
    ByteList list;
    Fill(list, {4});
    SiteTest::ReadBuffer in(Bytes({0x01}));
    EXPECT_FALSE(list.Read(in.Stream()));
    EXPECT_EQ(Values(list), (std::vector<int>{4}));
}

TEST(MList, ReadOfNegativeCountGivesEmptyList)
{
    ByteList list;
    Fill(list, {4});
    SiteTest::ReadBuffer in(Bytes({0xFF, 0xFF, 0x01}));
    EXPECT_TRUE(list.Read(in.Stream()));
    EXPECT_EQ(list.Count(), 0);
}

TEST(MList, ItemsWithoutBlockAreMadeFromTheCountAlone)
{
    TMList list;
    SiteTest::ReadBuffer in(Bytes({0x02, 0x00}));
    EXPECT_TRUE(list.Read(in.Stream()));
    EXPECT_EQ(list.Count(), 2);
}

TEST(MList, ReadStopsWithSuccessWhenNoItemCanBeMade)
{
    class BarrenList : public TMList {
    public:
        std::unique_ptr<TMListItem> NewItem() override { return nullptr; }
    } list;
    SiteTest::ReadBuffer in(Bytes({0x02, 0x00, 0x01, 0x02}));
    EXPECT_TRUE(list.Read(in.Stream()));
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(in.Position(), 2);
}

TEST(MList, PrintOfEmptyListWritesNothing)
{
    ByteList list;
    QString text;
    QTextStream out(&text);
    list.Print(out);
    out.flush();
    EXPECT_TRUE(text.isEmpty());
}

TEST(MList, PrintWritesTitleThenOneLinePerItem)
{
    ByteList list;
    Fill(list, {1, 2});
    QString text;
    QTextStream out(&text);
    list.Print(out);
    out.flush();
    EXPECT_EQ(text, QStringLiteral("\nBYTES\nitem 1\nitem 2\n"));
    EXPECT_EQ(list.CurrentIndex(), 1);
}

TEST(MList, PlainItemPrintsUnprintable)
{
    TMList list;
    list.Append(std::make_unique<TMListItem>());
    QString text;
    QTextStream out(&text);
    list.Print(out);
    out.flush();
    EXPECT_EQ(text, QStringLiteral("\nLIST\nUnprintable\n\n"));
}
