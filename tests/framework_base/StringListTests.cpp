#include "Exceptions.h"
#include "StringList.h"
#include "Streams.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::vector<std::string> Lines(const TStrings& list)
{
    std::vector<std::string> lines;
    for (int i = 0; i < list.Count(); ++i)
        lines.push_back(list[i]);
    return lines;
}

void ExpectListError(const std::function<void()>& action, const std::string& message)
{
    try {
        action();
        ADD_FAILURE() << "no exception, expected: " << message;
    } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message(), message);
    }
}

// The least a control's line list implements, to check that the shared
// helpers work through the virtual interface alone.
class VectorStrings : public TStrings {
public:
    std::string Get(int index) const override { return lines.at(index); }
    void Put(int index, const std::string& text) override { lines.at(index) = text; }
    void* GetObject(int) const override { return nullptr; }
    void PutObject(int, void*) override {}
    int Count() const override { return static_cast<int>(lines.size()); }
    void Insert(int index, const std::string& text) override { lines.insert(lines.begin() + index, text); }
    void Delete(int index) override { lines.erase(lines.begin() + index); }
    void Clear() override { lines.clear(); }

    std::vector<std::string> lines;
    std::vector<bool> updateStates;

protected:
    void SetUpdateState(bool updating) override { updateStates.push_back(updating); }
};

} // namespace

TEST(StringListText, JoinsEveryLineWithCrLf)
{
    TStringList list;
    EXPECT_EQ(list.GetText(), "");
    list.Add("a");
    list.Add("");
    list.Add("b");
    EXPECT_EQ(list.GetText(), "a\r\n\r\nb\r\n");
}

TEST(StringListText, SplitsOnAnyLineBreak)
{
    TStringList list;
    list.SetText("one\r\ntwo\rthree\nfour");
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"one", "two", "three", "four"}));
    list.SetText("a\r\n");
    EXPECT_EQ(Lines(list), std::vector<std::string>{"a"});
    list.SetText("a\r\n\r\n");
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"a", ""}));
    // LF CR is two breaks, not one.
    list.SetText("\n\r");
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"", ""}));
    list.SetText("");
    EXPECT_EQ(list.Count(), 0);
}

TEST(StringListSorted, AddsInCaseInsensitiveOrderAndRefusesPositions)
{
    TStringList list;
    list.SetSorted(true);
    list.Add("pear");
    list.Add("Apple");
    EXPECT_EQ(list.Add("banana"), 1);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"Apple", "banana", "pear"}));
    EXPECT_EQ(list.IndexOf("BANANA"), 1);
    EXPECT_EQ(list.IndexOf("cherry"), -1);
    ExpectListError([&] { list.Insert(0, "x"); }, "Operation not allowed on sorted list");
    ExpectListError([&] { list.Put(0, "x"); }, "Operation not allowed on sorted list");
    ExpectListError([&] { list.Move(0, 2); }, "Operation not allowed on sorted list");
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"Apple", "banana", "pear"}));
}

TEST(StringListSorted, DuplicatePolicies)
{
    TStringList list;
    list.SetSorted(true);
    list.Add("a");
    list.Add("b");
    EXPECT_EQ(list.Add("B"), 1);
    EXPECT_EQ(list.Count(), 2);

    list.SetDuplicates(dupError);
    ExpectListError([&] { list.Add("A"); }, "String list does not allow duplicates");
    EXPECT_EQ(list.Count(), 2);

    list.SetDuplicates(dupAccept);
    list.Add("A");
    EXPECT_EQ(list.Count(), 3);

    list.SetCaseSensitive(true);
    list.SetDuplicates(dupError);
    list.Add("B");
    EXPECT_EQ(list.Count(), 4);
}

TEST(StringListSorted, ObjectsFollowTheirLinesThroughSorting)
{
    int one = 1, two = 2, three = 3;
    TStringList list;
    list.AddObject("c", &three);
    list.AddObject("a", &one);
    list.AddObject("b", &two);
    list.SetSorted(true);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(list.Objects(0), &one);
    EXPECT_EQ(list.Objects(2), &three);
    EXPECT_EQ(list.IndexOfObject(&two), 1);

    list.SetSorted(false);
    list.CustomSort([](const TStringList& l, int i, int j) {
        return *static_cast<int*>(l.Objects(j)) - *static_cast<int*>(l.Objects(i));
    });
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"c", "b", "a"}));
}

TEST(StringListSearch, IndexOfFindsFirstMatchIgnoringCase)
{
    TStringList list;
    list.SetText("x\r\nCaf\xC9\r\ncaf\xE9\r\n");
    EXPECT_EQ(list.IndexOf("CAF\xC9"), 1);
    EXPECT_EQ(list.IndexOf("none"), -1);
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf("caf\xE9"), 2);
    EXPECT_EQ(list.IndexOf("CAF\xC9"), -1);
}

TEST(StringListErrors, IndexErrorsNameTheIndex)
{
    TStringList list;
    list.SetText("a\nb\nc");
    ExpectListError([&] { list.Get(3); }, "List index out of bounds (3)");
    ExpectListError([&] { list.Objects(-1); }, "List index out of bounds (-1)");
    ExpectListError([&] { list.Delete(5); }, "List index out of bounds (5)");
    ExpectListError([&] { list.Insert(4, "x"); }, "List index out of bounds (4)");
    ExpectListError([&] { list.Move(0, 3); }, "List index out of bounds (3)");
    list.Insert(3, "d");
    EXPECT_EQ(list.Count(), 4);
}

TEST(StringListEvents, UpdateBracketHoldsNotificationsBack)
{
    TStringList list;
    int changing = 0, changed = 0;
    list.OnChanging = [&] { ++changing; };
    list.OnChange = [&] { ++changed; };
    list.Add("a");
    EXPECT_EQ(changing, 1);
    EXPECT_EQ(changed, 1);

    list.BeginUpdate();
    list.BeginUpdate();
    list.Add("b");
    list.Delete(0);
    list.EndUpdate();
    EXPECT_EQ(changed, 1);
    list.EndUpdate();
    EXPECT_EQ(changing, 2);
    EXPECT_EQ(changed, 2);

    list.SetText("x\ny\nz");
    EXPECT_EQ(changed, 3);
}

TEST(StringListEditing, MoveExchangeAndAssignCarryObjects)
{
    int tag = 0;
    TStringList list;
    list.SetText("a\nb\nc\nd");
    list.PutObject(0, &tag);
    list.Move(0, 2);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"b", "c", "a", "d"}));
    EXPECT_EQ(list.Objects(2), &tag);
    list.Move(3, 0);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"d", "b", "c", "a"}));
    list.Exchange(0, 3);
    EXPECT_EQ(list.Objects(0), &tag);
    EXPECT_EQ(list[3], "d");

    TStringList copy;
    copy.Add("old");
    copy.Assign(list);
    EXPECT_EQ(Lines(copy), Lines(list));
    EXPECT_EQ(copy.Objects(0), &tag);
}

TEST(StringListBase, HelpersWorkThroughTheInterfaceAlone)
{
    VectorStrings lines;
    lines.SetText("one\ntwo");
    EXPECT_EQ(lines.updateStates, (std::vector<bool>{true, false}));
    EXPECT_EQ(lines.Add("three"), 2);
    EXPECT_EQ(lines.IndexOf("TWO"), 1);
    lines.Exchange(0, 2);
    EXPECT_EQ(lines.GetText(), "three\r\ntwo\r\none\r\n");
}

TEST(StringListStreams, SavesExactlyTheTextAndLoadsItBack)
{
    TStringList list;
    list.SetText("first\nsecond\x1A\n");
    TStringStream stream;
    list.SaveToStream(stream);
    EXPECT_EQ(stream.DataString(), "first\r\nsecond\x1A\r\n");

    const std::filesystem::path file = std::filesystem::temp_directory_path() / "quillo-stringlist-test.txt";
    list.SaveToFile(file.string());
    TStringList loaded;
    loaded.LoadFromFile(file.string());
    std::filesystem::remove(file);
    EXPECT_EQ(Lines(loaded), Lines(list));
}
