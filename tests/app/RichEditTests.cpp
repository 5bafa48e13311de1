// The rich edit control under Wine: selection, modes, lines and streaming,
// and the notifications the page editor handles.
#include "Application.h"
#include "Exceptions.h"
#include "Form.h"
#include "RichEdit.h"
#include "Streams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {
class RichEdit : public ::testing::Test {
protected:
    void SetUp() override
    {
        TForm::CreateParams params;
        params.caption = "Rich edit test";
        params.width = 400;
        params.height = 300;
        form = std::make_unique<TForm>(params);
        edit = std::make_unique<TQRichEdit>(form.get(), form.get());
        edit->SetBounds(0, 0, 380, 250);
    }
    void TearDown() override
    {
        edit.reset();
        form.reset();
    }

    std::unique_ptr<TForm> form;
    std::unique_ptr<TQRichEdit> edit;
};

// A stream that refuses every write.
class FullStream : public TMemoryStream {
public:
    std::int64_t Write(const void*, std::int64_t) override { return 0; }
};

// A converter that fails the way a broken disk would.
class ThrowingConversion : public TConversion {
public:
    int ConvertReadStream(TStream&, char*, int) override { throw EReadError("broken"); }
};
}

TEST_F(RichEdit, StartsWithTheLibraryLoadedAndAReadableFont)
{
    EXPECT_GE(RichEditVersion, 2);
    EXPECT_FALSE(edit->PlainText());
    EXPECT_EQ(edit->Lines().Count(), 0);
    CHARFORMAT2A format{};
    format.cbSize = sizeof(format);
    SendMessageA(edit->Handle(), EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    EXPECT_STRNE(format.szFaceName, "System");
    EXPECT_FALSE((format.dwMask & CFM_BOLD) && (format.dwEffects & CFE_BOLD));
}

TEST_F(RichEdit, SelTextWithLineBreaksLeavesExactlyTheInsertedTextSelected)
{
    edit->SetPlainText(true);
    edit->SetText("startend");
    edit->SetSelStart(5);
    edit->SetSelText("one\r\ntwo\r\nthree");
    // Two breaks count one character each: 3 + 1 + 3 + 1 + 5.
    EXPECT_EQ(edit->SelStart(), 5);
    EXPECT_EQ(edit->SelLength(), 13);
    EXPECT_EQ(edit->SelText(), "one\rtwo\rthree");
    EXPECT_EQ(edit->Lines().Get(2), "threeend");

    edit->SetSelection(2, 4, false);
    edit->SetSelText("");
    EXPECT_EQ(edit->SelStart(), 2);
    EXPECT_EQ(edit->SelLength(), 0);
}

TEST_F(RichEdit, GetTextRangeIsClampedAndSafelySized)
{
    edit->SetText("Hello world");
    EXPECT_EQ(edit->GetTextRange(6, -1), "world");
    EXPECT_EQ(edit->GetTextRange(6, 1000), "world");
    EXPECT_EQ(edit->GetTextRange(5, 2), "");
    EXPECT_EQ(edit->GetTextRange(-3, 5), "Hello");
    EXPECT_EQ(edit->GetTextRange(50, 60), "");
    EXPECT_EQ(edit->GetTextRange(0, 0), "");
}

TEST_F(RichEdit, PlainRichSwitchKeepsTextModifiedFlagAndCaret)
{
    edit->SetPlainText(true);
    edit->SetText("first line\r\nsecond line");
    edit->SetModified(true);
    edit->SetSelection(13, 17, false);
    edit->SetPlainText(false);
    EXPECT_FALSE(edit->PlainText());
    EXPECT_TRUE(edit->Modified());
    EXPECT_EQ(edit->SelStart(), 13);
    EXPECT_EQ(edit->SelLength(), 4);
    EXPECT_EQ(edit->Lines().GetText(), "first line\r\nsecond line\r\n");

    edit->SetModified(false);
    edit->SetPlainText(true);
    EXPECT_TRUE(edit->PlainText());
    EXPECT_FALSE(edit->Modified());
    EXPECT_EQ(edit->SelStart(), 13);
    EXPECT_EQ(edit->SelLength(), 4);
    EXPECT_EQ(edit->Text(), "first line\r\nsecond line");

    edit->Clear();
    edit->SetPlainText(false);
    EXPECT_EQ(edit->Text(), "");
}

TEST_F(RichEdit, ModifiedReadOnlyUndoAndWordWrap)
{
    edit->SetPlainText(true);
    edit->SetText("abc");
    EXPECT_FALSE(edit->Modified());
    edit->SetSelStart(3);
    edit->SetSelText("d");
    EXPECT_TRUE(edit->Modified());
    EXPECT_TRUE(edit->CanUndo());
    edit->Undo();
    EXPECT_EQ(edit->Text(), "abc");
    edit->SetReadOnly(true);
    EXPECT_TRUE(edit->ReadOnly());
    edit->SetReadOnly(false);
    EXPECT_FALSE(edit->ReadOnly());
    edit->SetUndoLimit(1);
    EXPECT_EQ(edit->UndoLimit(), 1);

    edit->SetWordWrap(true);
    edit->SetText(std::string(2000, 'w') + " tail");
    EXPECT_GT(edit->Lines().Count(), 1);
    edit->SetWordWrap(false);
    EXPECT_EQ(edit->Lines().Count(), 1);
}

TEST_F(RichEdit, LinesReadAndEditTheControl)
{
    edit->SetPlainText(true);
    edit->SetWordWrap(false);
    EXPECT_EQ(edit->Lines().Count(), 0);
    edit->Lines().SetText("x");
    EXPECT_EQ(edit->Lines().Count(), 1);
    edit->Lines().SetText("a\nb\rc\r\nd");
    ASSERT_EQ(edit->Lines().Count(), 4);
    EXPECT_EQ(edit->Lines().Get(3), "d");
    edit->Lines().Put(1, "B");
    edit->Lines().Insert(0, "top");
    edit->Lines().Delete(2);
    edit->Lines().Insert(9, "ignored");
    edit->Lines().Add("end");
    EXPECT_EQ(edit->Lines().GetText(), "top\r\na\r\nc\r\nd\r\nend\r\n");
    EXPECT_EQ(edit->Lines().Get(99), "");
}

TEST_F(RichEdit, ALineOfTenThousandCharactersReadsWhole)
{
    edit->SetPlainText(true);
    edit->SetWordWrap(false);
    std::string longLine;
    for (int i = 0; i < 10000; ++i)
        longLine += static_cast<char>('a' + i % 26);
    edit->Lines().SetText("before\r\n" + longLine + "\r\nafter");
    ASSERT_EQ(edit->Lines().Count(), 3);
    EXPECT_EQ(edit->Lines().Get(1), longLine);
    EXPECT_EQ(edit->Lines().Get(2), "after");

    TStringStream stream(std::string(100000, 'q'));
    edit->Lines().LoadFromStream(stream);
    EXPECT_EQ(edit->Lines().Get(0), std::string(100000, 'q'));
}

TEST_F(RichEdit, TwelveThousandLinesSetAtOnceReadBackTheSame)
{
    edit->SetPlainText(true);
    edit->SetWordWrap(false);
    std::string text;
    for (int i = 0; i < 12000; ++i)
        text += "Line number " + std::to_string(i) + "\r\n";
    int changes = 0;
    edit->OnChange = [&] { ++changes; };
    edit->Lines().SetText(text);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(edit->Lines().Count(), 12000);
    EXPECT_EQ(edit->Lines().GetText(), text);
    EXPECT_EQ(edit->Lines().Get(11999), "Line number 11999");

    TStringList copy;
    copy.SetText(text);
    TQRichEdit other(form.get(), form.get());
    other.SetPlainText(true);
    other.SetWordWrap(false);
    other.Lines().Assign(copy);
    EXPECT_EQ(other.Lines().GetText(), text);
}

TEST_F(RichEdit, ChunkEdgesOnLineBreaksMergeNoLines)
{
    edit->SetPlainText(true);
    edit->SetWordWrap(false);
    // Chunks of 3 bytes end in a lone CR, split a CR LF pair, and end the stream on CR.
    const std::string source = "ab\rcd\r\nef\rgh\nij\r";
    for (int chunk = 1; chunk <= 5; ++chunk) {
        SCOPED_TRACE(chunk);
        edit->Lines().ReadChunkSize = chunk;
        TStringStream stream(source);
        edit->Lines().LoadFromStream(stream);
        EXPECT_EQ(edit->Lines().GetText(), "ab\r\ncd\r\nef\r\ngh\r\nij\r\n");
    }
}

TEST_F(RichEdit, PlainLoadNormalisesBreaksAndRtfIsLeftAlone)
{
    edit->SetPlainText(true);
    edit->SetWordWrap(false);
    TStringStream plain("a\nb\rc\r\nd");
    edit->Lines().LoadFromStream(plain);
    EXPECT_EQ(edit->Lines().Count(), 4);
    EXPECT_EQ(edit->SelStart(), 0);

    TStringStream out;
    edit->Lines().SaveToStream(out);
    EXPECT_EQ(out.DataString(), "a\r\nb\r\nc\r\nd");

    // A bare CR inside an RTF control word would become CR LF if normalised;
    // the reader ignores bare breaks either way, so the text is unchanged.
    edit->SetPlainText(false);
    TStringStream rtf("{\\rtf1\\ansi one\r\\par\ntwo\\par\r\nthree}");
    edit->Lines().LoadFromStream(rtf);
    EXPECT_EQ(edit->Lines().GetText(), "one\r\ntwo\r\nthree\r\n");

    // Binary runs in RTF count their bytes, so RTF reaches the control
    // byte for byte; plain text arrives with CR LF breaks.
    std::string received;
    edit->Lines().OnStreamInBlock = [&](const char* bytes, int count) { received.append(bytes, count); };
    const std::string source = "{\\rtf1\\ansi a\rb\nc\\par}";
    TStringStream rtfBytes(source);
    edit->Lines().LoadFromStream(rtfBytes);
    EXPECT_EQ(received, source);
    edit->SetPlainText(true);
    received.clear();
    TStringStream plainBytes("a\rb\nc");
    edit->Lines().LoadFromStream(plainBytes);
    EXPECT_EQ(received, "a\r\nb\r\nc");
    edit->Lines().OnStreamInBlock = nullptr;
}

TEST_F(RichEdit, ALongPlainTextGoesInAPieceAtATimeAsTheWholeWouldHave)
{
    edit->SetPlainText(true);
    edit->SetWordWrap(false);
    // Lines that begin as RTF does, with bare line feeds: some piece starts
    // with one.
    std::string text;
    std::string expected;
    for (int i = 0; i < 6000; ++i) {
        const std::string line = "{\\rtf1 line " + std::to_string(i) + " of a long page";
        text += line + "\n";
        expected += line + "\r\n";
    }
    ASSERT_GT(text.size(), 2 * TRichEditStrings::PlainTextPieceBytes);
    int changes = 0;
    edit->OnChange = [&] { ++changes; };
    edit->SetText("a short text");
    const int shortChanges = std::exchange(changes, 0);
    // The rows laid out each time the load says how far it has come.
    std::vector<LRESULT> rows;
    edit->Lines().OnStreamInBlock = [&](const char*, int) {
        rows.push_back(SendMessageA(edit->Handle(), EM_GETLINECOUNT, 0, 0));
    };
    edit->SetText(text + std::string(1, '\0') + "after the NUL");
    edit->Lines().OnStreamInBlock = nullptr;

    EXPECT_TRUE(edit->Text() == expected);
    EXPECT_EQ(edit->Lines().Count(), 6000);
    EXPECT_FALSE(edit->Modified());
    EXPECT_FALSE(edit->CanUndo());
    // The control reports the load as it reports a short one.
    EXPECT_EQ(changes, shortChanges);
    // The control lays the text out as it goes, not all at the end.
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.back(), 6001);
    const auto midway = std::count_if(rows.begin(), rows.end(), [](LRESULT count) { return count > 1 && count < 6001; });
    EXPECT_GE(midway, 1);
}

TEST_F(RichEdit, RtfLoadOfPlainTextRetriesAsPlainText)
{
    edit->SetPlainText(false);
    TStringStream stream("just words, no markup");
    edit->Lines().LoadFromStream(stream);
    EXPECT_EQ(edit->Text(), "just words, no markup");

    // The retry keeps loading into the selection only (the control honours
    // a selection-only load in rich-text mode).
    edit->SetText("Hello world!");
    edit->SetSelection(6, 11, false);
    edit->SetStreamFormat(sfRichText);
    edit->SetStreamMode(smSelection);
    TStringStream replacement("there");
    edit->Lines().LoadFromStream(replacement);
    EXPECT_EQ(edit->Text(), "Hello there!");
    edit->SetStreamMode(0);
    edit->SetStreamFormat(sfDefault);
}

TEST_F(RichEdit, StreamFailuresRaiseTheirTexts)
{
    edit->SetPlainText(true);
    edit->SetText("text");
    FullStream full;
    try {
        edit->Lines().SaveToStream(full);
        FAIL() << "no error";
    } catch (const EOutOfResources& error) {
        EXPECT_STREQ(error.what(), "Failed to Save Stream");
    }
    edit->Lines().SetConverter(std::make_unique<ThrowingConversion>());
    TStringStream source("abc");
    try {
        edit->Lines().LoadFromStream(source);
        FAIL() << "no error";
    } catch (const EOutOfResources& error) {
        EXPECT_STREQ(error.what(), "Failed to Load Stream");
    }
    edit->Lines().SetConverter(nullptr);
}

TEST_F(RichEdit, FilesLoadAndSaveByExtension)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string rtfPath = std::string(folder) + "quillo_rich_test.rtf";
    const std::string txtPath = std::string(folder) + "quillo_rich_test.txt";
    edit->SetPlainText(true);
    edit->SetText("Some text");
    edit->Lines().SaveToFile(rtfPath);
    TMemoryStream saved;
    saved.LoadFromFile(rtfPath);
    EXPECT_EQ(std::string(static_cast<const char*>(saved.Memory()), 5), "{\\rtf");

    edit->SetPlainText(false);
    TStringStream rtfSource("{\\rtf1 shown literally}");
    rtfSource.SaveToFile(txtPath);
    edit->Lines().LoadFromFile(txtPath);
    EXPECT_EQ(edit->Text(), "{\\rtf1 shown literally}");
    edit->Lines().LoadFromFile(rtfPath);
    EXPECT_EQ(edit->Text(), "Some text");
    DeleteFileA(rtfPath.c_str());
    DeleteFileA(txtPath.c_str());
}

TEST_F(RichEdit, OemConversionRoundTrips)
{
    // e acute is 0xE9 in code page 1252 and 0x82 in OEM 437.
    TOEMConversion conversion;
    TMemoryStream stream;
    EXPECT_EQ(conversion.ConvertWriteStream(stream, "caf\xE9", 4), 4);
    EXPECT_EQ(std::string(static_cast<const char*>(stream.Memory()), 4), "caf\x82");
    stream.SetPosition(0);
    char back[4] = {};
    EXPECT_EQ(conversion.ConvertReadStream(stream, back, 4), 4);
    EXPECT_EQ(std::string(back, 4), "caf\xE9");

    edit->SetPlainText(true);
    edit->Lines().SetConverter(std::make_unique<TOEMConversion>());
    stream.SetPosition(0);
    edit->Lines().LoadFromStream(stream);
    EXPECT_EQ(edit->Text(), "caf\xE9");
}

TEST_F(RichEdit, ChangeAndSelectionChangeFire)
{
    edit->SetPlainText(true);
    int changes = 0;
    int selections = 0;
    edit->OnChange = [&] { ++changes; };
    edit->OnSelectionChange = [&] { ++selections; };
    edit->SetSelText("typed");
    EXPECT_GE(changes, 1);
    const int before = selections;
    edit->SetSelection(1, 3, false);
    EXPECT_GT(selections, before);

    TStringList other;
    other.Add("one");
    selections = 0;
    edit->Lines().Assign(other);
    EXPECT_EQ(selections, 0);
}

TEST_F(RichEdit, UrlClickFollowsTheClickRuleForWebMailAndPageLinks)
{
    edit->SetPlainText(true);
    for (const std::string link : {"http://example.com/page", "mailto:someone@example.com", "file::Ideas"}) {
        SCOPED_TRACE(link);
        edit->SetText("see " + link + " now");
        const LONG start = 4;
        const LONG end = start + static_cast<LONG>(link.size());
        std::vector<std::pair<std::string, TMouseButton>> clicks;
        edit->OnURLClick = [&](const std::string& text, TMouseButton button) { clicks.emplace_back(text, button); };
        auto send = [&](UINT message, LONG from, LONG to) {
            ENLINK notification{};
            notification.nmhdr.hwndFrom = edit->Handle();
            notification.nmhdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(edit->Handle()));
            notification.nmhdr.code = EN_LINK;
            notification.msg = message;
            notification.chrg = CHARRANGE{from, to};
            SendMessageA(form->Handle(), WM_NOTIFY, notification.nmhdr.idFrom,
                         reinterpret_cast<LPARAM>(&notification));
        };
        send(WM_LBUTTONDOWN, start, end);
        send(WM_LBUTTONUP, start, end);
        ASSERT_EQ(clicks.size(), 1u);
        EXPECT_EQ(clicks[0].first, link);
        EXPECT_EQ(clicks[0].second, TMouseButton::mbLeft);

        send(WM_RBUTTONDOWN, start, end);
        send(WM_RBUTTONUP, start, end);
        ASSERT_EQ(clicks.size(), 2u);
        EXPECT_EQ(clicks[1].second, TMouseButton::mbRight);

        // Another button, or a release elsewhere, is no click.
        send(WM_LBUTTONDOWN, start, end);
        send(WM_RBUTTONUP, start, end);
        send(WM_LBUTTONDOWN, start, end);
        send(WM_MOUSEMOVE, 0, 3);
        send(WM_LBUTTONUP, 0, 3);
        send(WM_LBUTTONUP, start, end);
        EXPECT_EQ(clicks.size(), 2u);
        edit->OnURLClick = nullptr;
    }
}

TEST_F(RichEdit, CaretPositionIsColumnAndLine)
{
    edit->SetPlainText(true);
    edit->SetWordWrap(false);
    edit->SetText("abc\r\ndefgh");
    edit->SetSelStart(6);
    const POINT caret = edit->GetCaretPos();
    EXPECT_EQ(caret.x, 2);
    EXPECT_EQ(caret.y, 1);
    EXPECT_EQ(edit->LineFromChar(1), 0);
}

namespace {
std::string ManyLines(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "Line number " + std::to_string(i) + " of a long page\r\n";
    return text;
}

// Another control to take the focus from, so that a change of focus shows.
class RichEditRecreate : public RichEdit {
protected:
    void SetUp() override
    {
        RichEdit::SetUp();
        edit->SetBounds(5, 6, 300, 200);
        edit->SetPlainText(true);
        edit->SetUndoLimit(1);
        edit->SetWordSelection(false);
        edit->SetHideSelection(false);
        edit->SetWordWrap(false);
        edit->SetFont(font);
    }
    void TearDown() override
    {
        RichEdit::TearDown();
        DeleteObject(font);
    }

    static CHARFORMAT2A DefaultFormat(HWND window)
    {
        CHARFORMAT2A format{};
        format.cbSize = sizeof format;
        SendMessageA(window, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
        return format;
    }

    HFONT font = CreateFontA(-17, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Courier New");
};
}

TEST_F(RichEditRecreate, ClearOnALongTextGivesAFreshWindowSetUpTheSame)
{
    form->Show();
    SetForegroundWindow(form->Handle());
    edit->SetFocus();
    ASSERT_TRUE(edit->Focused());
    int enters = 0;
    int exits = 0;
    edit->OnEnter = [&] { ++enters; };
    edit->OnExit = [&] { ++exits; };
    edit->Lines().SetText(ManyLines(3000));
    ASSERT_EQ(edit->Lines().Count(), 3000);
    // An update bracket of the line list leaves the control hidden under Wine.
    edit->SetVisible(true);
    ASSERT_TRUE(edit->Visible());
    edit->SetReadOnly(true);
    const HWND old = edit->Handle();
    const LRESULT modeBefore = SendMessageA(old, EM_GETTEXTMODE, 0, 0);
    const CHARFORMAT2A fontBefore = DefaultFormat(old);
    const DWORD maskBefore = static_cast<DWORD>(SendMessageA(old, EM_GETEVENTMASK, 0, 0));
    const LRESULT optionsBefore = SendMessageA(old, EM_GETOPTIONS, 0, 0);
    const LONG_PTR exStyleBefore = GetWindowLongPtrA(old, GWL_EXSTYLE);

    edit->Clear();

    const HWND now = edit->Handle();
    EXPECT_NE(now, old);
    EXPECT_FALSE(IsWindow(old));
    ASSERT_TRUE(IsWindow(now));
    EXPECT_EQ(TControl::FromHandle(now), edit.get());
    EXPECT_EQ(GetParent(now), form->Handle());
    EXPECT_EQ(edit->TextLength(), 0);
    EXPECT_EQ(edit->Lines().Count(), 0);
    EXPECT_FALSE(edit->Modified());
    EXPECT_TRUE(edit->PlainText());
    EXPECT_EQ(SendMessageA(now, EM_GETTEXTMODE, 0, 0), modeBefore);
    EXPECT_TRUE(edit->ReadOnly());
    EXPECT_FALSE(edit->WordSelection());
    EXPECT_EQ(SendMessageA(now, EM_GETOPTIONS, 0, 0), optionsBefore);
    EXPECT_EQ(GetWindowLongPtrA(now, GWL_EXSTYLE), exStyleBefore);
    EXPECT_EQ(SendMessageA(now, EM_GETEVENTMASK, 0, 0), static_cast<LRESULT>(maskBefore));
    EXPECT_EQ(edit->UndoLimit(), 1);
    EXPECT_EQ(SendMessageA(now, EM_SETUNDOLIMIT, 1, 0), 1);
    const CHARFORMAT2A fontAfter = DefaultFormat(now);
    EXPECT_STREQ(fontAfter.szFaceName, fontBefore.szFaceName);
    EXPECT_EQ(fontAfter.yHeight, fontBefore.yHeight);
    EXPECT_EQ(edit->Left(), 5);
    EXPECT_EQ(edit->Top(), 6);
    EXPECT_EQ(edit->Width(), 300);
    EXPECT_EQ(edit->Height(), 200);
    EXPECT_TRUE(edit->Visible());
    EXPECT_TRUE(IsWindowVisible(now));
    EXPECT_TRUE(GetWindowLongPtrA(now, GWL_STYLE) & WS_TABSTOP);
    EXPECT_TRUE(edit->Focused());
    EXPECT_EQ(enters, 0);
    EXPECT_EQ(exits, 0);
    EXPECT_EQ(form->ActiveControl(), edit.get());

    // Later edits still report through the same object.
    edit->SetReadOnly(false);
    EXPECT_FALSE(edit->ReadOnly());
    int changes = 0;
    int selections = 0;
    edit->OnChange = [&] { ++changes; };
    edit->OnSelectionChange = [&] { ++selections; };
    edit->SetSelText("typed");
    EXPECT_GE(changes, 1);
    EXPECT_EQ(edit->Text(), "typed");
    const int before = selections;
    edit->SetSelection(1, 3, false);
    EXPECT_GT(selections, before);

    // Leaving the control is reported once, as ever.
    TQRichEdit other(form.get(), form.get());
    other.SetBounds(5, 210, 100, 40);
    other.SetFocus();
    EXPECT_EQ(exits, 1);
}

TEST_F(RichEditRecreate, ReplacingALongTextKeepsTheControlUsable)
{
    const HWND first = edit->Handle();
    edit->Lines().SetText(ManyLines(2500));
    int changes = 0;
    edit->OnChange = [&] { ++changes; };
    edit->Lines().SetText("one\r\ntwo\r\n");
    EXPECT_EQ(changes, 1);
    EXPECT_NE(edit->Handle(), first);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(edit->Lines().GetText(), "one\r\ntwo\r\n");
    EXPECT_TRUE(edit->PlainText());

    // SetText, a load over the whole text and the mode switch as well.
    edit->Lines().SetText(ManyLines(2500));
    HWND before = edit->Handle();
    edit->SetText("short");
    EXPECT_NE(edit->Handle(), before);
    EXPECT_EQ(edit->Text(), "short");

    edit->Lines().SetText(ManyLines(2500));
    before = edit->Handle();
    TMemoryStream stream;
    stream.Write("loaded\r\n", 8);
    stream.SetPosition(0);
    edit->Lines().LoadFromStream(stream);
    EXPECT_NE(edit->Handle(), before);
    EXPECT_EQ(edit->Lines().GetText(), "loaded\r\n");

    const std::string many = ManyLines(2500);
    edit->Lines().SetText(many);
    edit->SetModified(true);
    edit->SetSelection(4, 9, false);
    before = edit->Handle();
    edit->SetPlainText(false);
    EXPECT_NE(edit->Handle(), before);
    EXPECT_FALSE(edit->PlainText());
    EXPECT_EQ(SendMessageA(edit->Handle(), EM_GETTEXTMODE, 0, 0) & TM_RICHTEXT, TM_RICHTEXT);
    EXPECT_EQ(edit->Lines().Count(), 2500);
    EXPECT_TRUE(edit->Modified());
    EXPECT_EQ(edit->SelStart(), 4);
    EXPECT_EQ(edit->SelLength(), 5);

    // A short text is emptied in place.
    edit->SetText("a few words");
    before = edit->Handle();
    edit->Clear();
    EXPECT_EQ(edit->Handle(), before);
    EXPECT_EQ(edit->TextLength(), 0);
}

TEST_F(RichEditRecreate, AHiddenControlStaysHidden)
{
    edit->SetVisible(false);
    edit->Lines().SetText(ManyLines(2500));
    const HWND before = edit->Handle();
    edit->Clear();
    EXPECT_NE(edit->Handle(), before);
    EXPECT_FALSE(edit->Visible());
    edit->Lines().SetText(ManyLines(2500));
    edit->Lines().SetText("x\r\n");
    EXPECT_FALSE(edit->Visible());
}

TEST_F(RichEditRecreate, AShownControlStaysShownThroughUpdates)
{
    edit->SetVisible(true);
    edit->Lines().SetText("a\r\nb\r\n");
    EXPECT_TRUE(edit->Visible());
    edit->Lines().SetText(ManyLines(2500));
    EXPECT_TRUE(edit->Visible());
    edit->Clear();
    EXPECT_TRUE(edit->Visible());
}
