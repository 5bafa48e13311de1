// The outline file on the main window's page tree: a save and a load give
// back the same outline, a save that fails never harms the file it would
// replace, a damaged file is refused with its message, and a branch travels
// through a file of its own.
#include "Application.h"
#include "Exceptions.h"
#include "BranchFiles.h"
#include "KbfFormat.h"
#include "Main.h"
#include "MainWindowTest.h"
#include "OutlineFile.h"
#include "PageData.h"
#include "PageHistory.h"
#include "Pages.h"
#include "RichEdit.h"
#include "SafeFileWriter.h"
#include "ScriptedMessageBoxes.h"
#include "SettingsRecords.h"
#include "SharedState.h"
#include "Streams.h"
#include "TestFolder.h"
#include "TreeView.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace {
// A prefix and a number, joined.
std::string Numbered(char prefix, int number)
{
    std::string text(1, prefix);
    text += std::to_string(number);
    return text;
}

// What a page looks like after a round trip.
struct PageShape {
    int level;
    std::string title;
    std::string body;
    int state;
    bool expanded;
    bool operator==(const PageShape&) const = default;
};

class OutlineFile : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        SafeWriteFaultsForTests() = SafeWriteFaults{};
    }
    void TearDown() override
    {
        SafeWriteFaultsForTests() = SafeWriteFaults{};
        MainWindowTest::TearDown();
    }

    std::string PathOf(const std::string& name) const { return folder_ / name; }

    TTreeNode* Page(TTreeNode* parent, const std::string& title, const std::string& body, int state)
    {
        TTreeNode* node = Tree().Items().AddChild(parent, title);
        AttachNewPageData(node);
        PageDataOf(node)->SetBodyText(body);
        node->SetStateIndex(state);
        return node;
    }

    // Root "Home" with nested pages, states 0 and 20, CR LF bodies, blanks
    // and empty lines at the start, an empty title, one branch expanded.
    void BuildSample()
    {
        Root()->SetText("Home");
        PageDataOf(Root())->SetBodyText("root text");
        Root()->SetStateIndex(3);
        TTreeNode* plan = Page(Root(), "Plan", "a\r\nb", 2);
        Page(plan, "", "", 0);
        TTreeNode* deep = Page(plan, "Deep", "  \r\n\r\nindented", 20);
        Page(deep, "Leaf", "x\x1Ay", 5);
        Page(Root(), "Last", "end\r\n", 1);
        Root()->Expand(false);
        plan->Expand(false);
        deep->Collapse(false);
        OutlineProperties.Subject = "Subject line";
        OutlineProperties.Description = "Two\r\nlines";
    }

    std::vector<PageShape> Shape()
    {
        std::vector<PageShape> shape;
        for (TTreeNode* node = Root(); node; node = node->GetNext()) {
            const PageData* data = PageDataOf(node);
            shape.push_back({node->Level(), node->Text(), data ? data->BodyText() : "<none>", node->StateIndex(),
                             node->HasChildren() && node->Expanded()});
        }
        return shape;
    }

    void ResetTree()
    {
        Root()->DeleteChildren();
        Root()->SetText("Other");
        AttachNewPageData(Root());
        Root()->SetStateIndex(1);
        ResetOutlineProperties(OutlineProperties);
    }

    TestFolder folder_;
};

TEST_F(OutlineFile, SaveThenLoadGivesTheSameOutline)
{
    BuildSample();
    const std::vector<PageShape> before = Shape();
    const std::string path = PathOf("Sample.kbf");
    OutlineProperties.FileChanged = 1;
    ASSERT_TRUE(SaveOutline(path));
    EXPECT_EQ(path, CurrentFileName);
    EXPECT_EQ(0, OutlineProperties.FileChanged);
    EXPECT_EQ(1, OutlineProperties.Revisions);
    EXPECT_EQ(UserSettings.Name, OutlineProperties.SavedBy);
    const std::string modified = OutlineProperties.Modified;

    ResetTree();
    OutlineProperties.FileChanged = 1;
    ScriptedMessageBoxes boxes;
    ASSERT_TRUE(LoadOutline(path));
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(before, Shape());
    EXPECT_EQ("Subject line", OutlineProperties.Subject);
    // Stored texts keep LF line ends only.
    EXPECT_EQ("Two\nlines", OutlineProperties.Description);
    EXPECT_EQ(1, OutlineProperties.Revisions);
    EXPECT_EQ(modified, OutlineProperties.Modified);
    EXPECT_EQ(0, OutlineProperties.FileChanged);
    EXPECT_EQ(Root(), Tree().Selected());
    EXPECT_EQ(nullptr, LastShownPage);
    EXPECT_EQ(nullptr, EditorPage);
    EXPECT_EQ(PageExpanded, PageDataOf(Root()->Item(0))->ExpandState);
    EXPECT_EQ(PageNoChildren, PageDataOf(Root()->Item(1))->ExpandState);
}

TEST_F(OutlineFile, SavedBytesAreTheCodecsBytes)
{
    BuildSample();
    const struct OutlineProperties unstamped = OutlineProperties;
    const std::string path = PathOf("Golden.kbf");
    ASSERT_TRUE(SaveOutline(path));

    KbfOutline expected;
    expected.properties = unstamped;
    const auto page = [](const std::string& body, const std::string& title, int parent, int state, int expand) {
        KbfPage p;
        p.body = body;
        p.title = title;
        p.parent = parent;
        p.state = state;
        p.expand = expand;
        return p;
    };
    expected.pages = {page("root text", "Home", 0, 3, 0),          page("a\nb", "Plan", 0, 2, KbfExpanded),
                      page("", "", 1, 0, KbfNoChildren),            page("  \n\nindented", "Deep", 1, 20, KbfCollapsed),
                      page("x\x1Ay", "Leaf", 3, 5, KbfNoChildren), page("end\n", "Last", 0, 1, KbfNoChildren)};
    TStringStream bytes;
    WriteKbf(bytes, expected, KbfStamp{OutlineProperties.Modified, UserSettings.Name});
    EXPECT_EQ(bytes.DataString(), ReadFileBytes(path));
    EXPECT_EQ(std::vector<std::string>{"Golden.kbf"}, FilesIn(folder_.Path()));
}

TEST_F(OutlineFile, RootOnlyOutlineRoundTrips)
{
    Root()->SetText("Alone");
    const std::string path = PathOf("Alone.kbf");
    ASSERT_TRUE(SaveOutline(path));
    Page(Root(), "Extra", "", 1);
    ASSERT_TRUE(LoadOutline(path));
    EXPECT_EQ(1, Tree().Items().Count());
    EXPECT_EQ("Alone", Root()->Text());
    ASSERT_NE(nullptr, PageDataOf(Root()));
}

TEST_F(OutlineFile, TheRootOfALoadedOutlineShowsItsPages)
{
    Page(Root(), "Child", "", 1);
    Root()->Collapse(false);
    const std::string path = PathOf("Root.kbf");
    ASSERT_TRUE(SaveOutline(path));
    ASSERT_TRUE(LoadOutline(path));
    EXPECT_TRUE(Root()->Expanded());
}

TEST_F(OutlineFile, SaveIntoAMissingFolderFailsWithItsMessage)
{
    BuildSample();
    const std::string path = PathOf("missing\\Sample.kbf");
    OutlineProperties.FileChanged = 1;
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDOK);
    EXPECT_FALSE(SaveOutline(path));
    EXPECT_EQ(std::vector<std::string>{"Cannot open output file!"}, boxes.Texts());
    EXPECT_EQ(UntitledFileName, CurrentFileName);
    EXPECT_EQ(1, OutlineProperties.FileChanged);
    EXPECT_TRUE(FilesIn(folder_.Path()).empty());
}

TEST_F(OutlineFile, SaveOverAReadOnlyFileKeepsItByteIdentical)
{
    const std::string path = PathOf("Locked.kbf");
    const std::string old = "kbf\r\n01\r\nold bytes\x1A\r\n";
    WriteFileBytes(path, old);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    BuildSample();
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDOK);
    EXPECT_FALSE(SaveOutline(path));
    EXPECT_EQ(std::vector<std::string>{"Cannot open output file!"}, boxes.Texts());
    EXPECT_EQ(old, ReadFileBytes(path));
    EXPECT_EQ(std::vector<std::string>{"Locked.kbf"}, FilesIn(folder_.Path()));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(OutlineFile, AFailureAtAnyStepOfTheWriteKeepsTheOldFile)
{
    BuildSample();
    const std::string path = PathOf("Sample.kbf");
    ASSERT_TRUE(SaveOutline(path));
    const std::string old = ReadFileBytes(path);
    CurrentFileName = UntitledFileName;
    Root()->Item(0)->SetText("Changed");

    struct Case {
        SafeWriteFaults faults;
        const char* message;
    };
    std::vector<Case> cases;
    for (std::int64_t at : {0LL, 1LL, 50LL, static_cast<long long>(old.size()) - 1})
        cases.push_back({SafeWriteFaults{at, false, false}, "Error writing on disk! Disk full?"});
    cases.push_back({SafeWriteFaults{-1, true, false}, "Error writing on disk! Disk full?"});
    cases.push_back({SafeWriteFaults{-1, false, true}, "Cannot open output file!"});
    for (const Case& c : cases) {
        SafeWriteFaultsForTests() = c.faults;
        OutlineProperties.FileChanged = 1;
        ScriptedMessageBoxes boxes;
        boxes.Answer(IDOK);
        EXPECT_FALSE(SaveOutline(path));
        EXPECT_EQ(std::vector<std::string>{c.message}, boxes.Texts());
        EXPECT_EQ(old, ReadFileBytes(path));
        EXPECT_EQ(std::vector<std::string>{"Sample.kbf"}, FilesIn(folder_.Path()));
        EXPECT_EQ(UntitledFileName, CurrentFileName);
        EXPECT_EQ(1, OutlineProperties.FileChanged);
    }
    SafeWriteFaultsForTests() = SafeWriteFaults{};
    EXPECT_TRUE(SaveOutline(path));
    EXPECT_NE(old, ReadFileBytes(path));
}

TEST_F(OutlineFile, SaveKeepsTheAttributesOfTheFileItReplaces)
{
    BuildSample();
    const std::string path = PathOf("Hidden.kbf");
    ASSERT_TRUE(SaveOutline(path));
    const DWORD attributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), attributes));
    Root()->Item(0)->SetText("Changed");
    OutlineProperties.FileChanged = 1;
    ASSERT_TRUE(SaveOutline(path));
    EXPECT_EQ(GetFileAttributesA(path.c_str()), attributes);
    EXPECT_NE(ReadFileBytes(path).find("Changed"), std::string::npos);
    EXPECT_EQ(std::vector<std::string>{"Hidden.kbf"}, FilesIn(folder_.Path()));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(OutlineFile, AFailureOfTheCodeMakingTheBytesIsNoDiskErrorAndKeepsTheFile)
{
    BuildSample();
    const std::string path = PathOf("Sample.kbf");
    ASSERT_TRUE(SaveOutline(path));
    const std::string old = ReadFileBytes(path);
    CurrentFileName = UntitledFileName;
    struct Case {
        std::exception_ptr thrown;
        const char* message;
    } cases[] = {
        {std::make_exception_ptr(std::length_error("too many pages for one file")),
         "Cannot save the file: too many pages for one file"},
        {std::make_exception_ptr(std::bad_alloc()), "Cannot save the file: not enough memory"},
        {std::make_exception_ptr(EOutOfResources("Failed to Save Stream")), "Cannot save the file: Failed to Save Stream"},
        {std::make_exception_ptr(42), "Cannot save the file: an unexpected error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        SafeWriteFaultsForTests().ProducerThrows = c.thrown;
        OutlineProperties.FileChanged = 1;
        ScriptedMessageBoxes boxes;
        boxes.Answer(IDOK);
        EXPECT_FALSE(SaveOutline(path));
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_EQ(c.message, boxes.Shown()[0].text);
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), boxes.Shown()[0].flags);
        EXPECT_EQ(old, ReadFileBytes(path));
        EXPECT_EQ(std::vector<std::string>{"Sample.kbf"}, FilesIn(folder_.Path()));
        EXPECT_EQ(UntitledFileName, CurrentFileName);
        EXPECT_EQ(1, OutlineProperties.FileChanged);
    }
    // A branch exported to a file says the same.
    SafeWriteFaultsForTests().ProducerThrows = cases[0].thrown;
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDOK);
    EXPECT_FALSE(ExportOutlineBranch(PathOf("Branch.kbf")));
    EXPECT_EQ(std::vector<std::string>{cases[0].message}, boxes.Texts());
}

TEST_F(OutlineFile, ACopySaveKeepsTheFileNameAndTheChangedFlag)
{
    BuildSample();
    OutlineProperties.FileChanged = 1;
    ASSERT_TRUE(SaveOutline(PathOf("Copy.kbf"), OutlineSaveMode::Copy));
    EXPECT_EQ(UntitledFileName, CurrentFileName);
    EXPECT_EQ(1, OutlineProperties.FileChanged);
}

TEST_F(OutlineFile, ADamagedPageRecordKeepsThePagesReadAndTheRootsRecord)
{
    TStringStream bytes;
    WriteKbfHeader(bytes);
    struct OutlineProperties properties;
    properties.Subject = "From the file";
    WritePropertiesBlock(bytes, properties, KbfStamp{"1 May 2020 10:00", "Someone"});
    WriteKbfNumber(bytes, 3);
    KbfPage first;
    first.title = "First";
    WritePageRecord(bytes, first);
    KbfPage second;
    second.title = "Second";
    second.parent = 2; // itself: not read yet
    WritePageRecord(bytes, second);
    const std::string path = PathOf("Damaged.kbf");
    WriteFileBytes(path, bytes.DataString());

    BuildSample();
    LastShownPage = Root();
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDOK);
    EXPECT_FALSE(LoadOutline(path));
    EXPECT_EQ(std::vector<std::string>{"Error loading file!"}, boxes.Texts());
    ASSERT_EQ(1, Root()->Count());
    EXPECT_EQ("First", Root()->Item(0)->Text());
    ASSERT_NE(nullptr, PageDataOf(Root()));
    EXPECT_EQ(nullptr, LastShownPage);
    EXPECT_EQ("Subject line", OutlineProperties.Subject);
}

TEST_F(OutlineFile, HeaderAndPropertiesFaultsLeaveTheTreeAlone)
{
    BuildSample();
    const std::vector<PageShape> before = Shape();
    struct Case {
        std::string bytes;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"kbf\r\n02\r\n", "This file requires newer version of Quillo! Please visit our web site for newer version download!"},
        {"xyz\r\n01\r\n", "Input file is not Quillo .kbf file!"},
        {"kbf\r\n01\r\n1\r\nx\r\n1\r\nx\r\n1\r\nx\r\n1\r\nx\r\n1\r\nx\r\n0\r\nxy\r\n", "Input file is corrupted!"},
    };
    for (const Case& c : cases) {
        const std::string path = PathOf("Bad.kbf");
        WriteFileBytes(path, c.bytes);
        ScriptedMessageBoxes boxes;
        boxes.Answer(IDOK);
        EXPECT_FALSE(LoadOutline(path));
        EXPECT_EQ(std::vector<std::string>{c.message}, boxes.Texts());
        EXPECT_EQ(before, Shape());
    }
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDOK);
    EXPECT_FALSE(LoadOutline(PathOf("none.kbf")));
    EXPECT_EQ(std::vector<std::string>{"Cannot open input file!"}, boxes.Texts());
    EXPECT_EQ(before, Shape());
}

TEST_F(OutlineFile, TheLargestOutlineSavesAndLoads)
{
    // 65,535 pages: 255 top pages of 256 pages each, the last of each a
    // child of the first.
    Tree().Items().BeginUpdate();
    int made = 1;
    for (int top = 0; made < MaxPageCount; ++top) {
        TTreeNode* parent = Page(Root(), Numbered('T', top), Numbered('b', top), top % 21);
        ++made;
        TTreeNode* first = nullptr;
        for (int k = 0; k < 255 && made < MaxPageCount; ++k, ++made) {
            TTreeNode* node = Page(first && k == 254 ? first : parent, Numbered('P', k), "line\r\nline", 1);
            if (!first)
                first = node;
        }
    }
    Tree().Items().EndUpdate();
    Root()->Expand(false);
    ASSERT_EQ(MaxPageCount, Tree().Items().Count());
    const std::vector<PageShape> before = Shape();
    const std::string path = PathOf("Large.kbf");
    ASSERT_TRUE(SaveOutline(path));
    ResetTree();
    ASSERT_TRUE(LoadOutline(path));
    EXPECT_EQ(MaxPageCount, Tree().Items().Count());
    EXPECT_TRUE(before == Shape());
}

TEST_F(OutlineFile, ABranchExportedAndImportedElsewhereKeepsItsShapeCollapsed)
{
    BuildSample();
    TTreeNode* plan = Root()->Item(0);
    Tree().SetSelected(plan);
    const struct OutlineProperties kept = OutlineProperties;
    OutlineProperties.FileChanged = 1;
    const std::string path = PathOf("Branch.kbf");
    ASSERT_TRUE(ExportOutlineBranch(path));
    EXPECT_EQ(UntitledFileName, CurrentFileName);
    EXPECT_EQ(1, OutlineProperties.FileChanged);
    EXPECT_EQ(kept.Revisions, OutlineProperties.Revisions);

    KbfOutline file;
    ASSERT_EQ(KbfReadResult::Ok, ReadKbfBytes(ReadFileBytes(path), file));
    ASSERT_EQ(4u, file.pages.size());
    EXPECT_EQ("Plan", file.pages[0].title);
    EXPECT_EQ(1, file.properties.Revisions);
    EXPECT_EQ(UserSettings.Name, file.properties.SavedBy);
    EXPECT_EQ(0, file.pages[1].parent);
    EXPECT_EQ(2, file.pages[3].parent);

    TTreeNode* last = Root()->Item(1);
    Tree().SetSelected(last);
    ScriptedMessageBoxes boxes;
    ASSERT_TRUE(ImportOutlineBranch(path));
    EXPECT_TRUE(boxes.Shown().empty());
    ASSERT_EQ(1, last->Count());
    TTreeNode* copy = last->Item(0);
    EXPECT_EQ(copy, Tree().Selected());
    EXPECT_EQ("Plan", copy->Text());
    EXPECT_EQ("a\r\nb", PageDataOf(copy)->BodyText());
    EXPECT_EQ(2, copy->StateIndex());
    EXPECT_FALSE(copy->Expanded());
    ASSERT_EQ(2, copy->Count());
    EXPECT_EQ("", copy->Item(0)->Text());
    EXPECT_EQ(0, copy->Item(0)->StateIndex());
    EXPECT_EQ("Deep", copy->Item(1)->Text());
    EXPECT_EQ(20, copy->Item(1)->StateIndex());
    EXPECT_EQ("Leaf", copy->Item(1)->Item(0)->Text());
    EXPECT_EQ("x\x1Ay", PageDataOf(copy->Item(1)->Item(0))->BodyText());
}

TEST_F(OutlineFile, AFailedBranchExportReportsFailure)
{
    BuildSample();
    Tree().SetSelected(Root()->Item(0));
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDOK);
    EXPECT_FALSE(ExportOutlineBranch(PathOf("missing\\Branch.kbf")));
    EXPECT_EQ(std::vector<std::string>{"Cannot open output file!"}, boxes.Texts());
}

TEST_F(OutlineFile, BackupMakesTheMissingFolderAndReplacesTheCopy)
{
    const std::string path = PathOf("Work.kbf");
    WriteFileBytes(path, "first");
    OptionSettings.BackupFolder = PathOf("Backup files\\deeper");
    BackupOutline(path);
    EXPECT_EQ("first", ReadFileBytes(PathOf("Backup files\\deeper\\Work.bak")));
    WriteFileBytes(path, "second");
    BackupOutline(path);
    EXPECT_EQ("second", ReadFileBytes(PathOf("Backup files\\deeper\\Work.bak")));
    BackupOutline(PathOf("Gone.kbf"));
    EXPECT_FALSE(FileExists(PathOf("Backup files\\deeper\\Gone.bak")));
    OptionSettings = TOptionSettings{};
}
}
