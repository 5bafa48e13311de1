#include "IconList.h"

#include "AniBytes.h"
#include "Exceptions.h"
#include "IconListStream.h"
#include "Streams.h"

#include <gtest/gtest.h>

using namespace anibytes;

namespace {

std::unique_ptr<TIcon> IconOf(const std::string& fileImage)
{
    auto icon = std::make_unique<TIcon>();
    TStringStream stream(fileImage);
    icon->LoadFromStream(stream);
    return icon;
}

class IconListTest : public ::testing::Test {
protected:
    IconListTest() { list.OnChange = [this](TIconList&) { ++changes; }; }
    TIconList list;
    int changes = 0;
    const std::string red = IconFile({SolidPicture(16, 16, 4, 0x80)});
    const std::string blue = IconFile({SolidPicture(32, 32, 8, 0xFF)});
};

} // namespace

TEST_F(IconListTest, StreamsRoundTripWithAnEmptySlot)
{
    list.Add(IconOf(red).get());
    list.AddIcon(nullptr);
    list.AddIcon(IconOf(blue));
    TMemoryStream stream;
    list.SaveToStream(stream);
    stream.SetPosition(0);

    TIconList read;
    int readChanges = 0;
    read.OnChange = [&](TIconList&) { ++readChanges; };
    read.Add(IconOf(blue).get());
    read.LoadFromStream(stream);
    EXPECT_EQ(readChanges, 2) << "the add, then the whole read once";
    ASSERT_EQ(read.GetCount(), 3);
    EXPECT_EQ(read.Get(0)->FileImage(), red);
    EXPECT_EQ(read.Get(1), nullptr);
    EXPECT_EQ(read.Get(2)->FileImage(), blue);
}

TEST_F(IconListTest, ClearAndNestedUpdatesNotifyOnce)
{
    list.BeginUpdate();
    list.Add(IconOf(red).get());
    list.Add(IconOf(blue).get());
    list.BeginUpdate();
    list.Exchange(0, 1);
    list.EndUpdate();
    EXPECT_EQ(changes, 0);
    list.EndUpdate();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(list.Get(0)->FileImage(), blue);

    list.Clear();
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(list.GetCount(), 0);
    list.EndUpdate(); // without a begin: nothing
    EXPECT_EQ(changes, 2);

    // Each operation tells once, and so does a change of an icon in the list.
    list.Put(0, IconOf(red).get());
    list.Insert(0, IconOf(blue).get());
    list.Move(0, 1);
    list.Delete(1);
    EXPECT_EQ(changes, 2 + 2 + 1 + 1 + 1);
    list.Get(0)->SetHandle(nullptr);
    EXPECT_EQ(changes, 8);
    EXPECT_EQ(list.IndexOf(list.Get(0)), 0);
    EXPECT_EQ(list.IndexOf(nullptr), -1);
    EXPECT_THROW(list.Get(1), EInvalidArgument);
    EXPECT_THROW(list.AddResource(GetModuleHandleA(nullptr), "NO_SUCH_ICON"), EResNotFound);
}

TEST_F(IconListTest, AFailingIconKeepsTheSlotsReadAndEndsTheUpdate)
{
    TMemoryStream stream;
    WriteIconListData(stream, {red, "", "not an icon", blue});
    stream.SetPosition(0);
    EXPECT_THROW(list.ReadData(stream), EInvalidGraphic);
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(changes, 1);
    list.AddIcon(nullptr);
    EXPECT_EQ(changes, 2) << "no update left open";

    TStringStream hostile(Values({3, 0x7FFFFFFF}));
    EXPECT_THROW(list.LoadFromStream(hostile), EReadError);
    EXPECT_EQ(list.GetCount(), 0);
    list.AddIcon(nullptr);
    EXPECT_EQ(changes, 4);
}
