// Embedded objects in the rich edit under Wine: the callback's registration,
// closing, the verb menu, the object and link information the dialogs read,
// and the three object dialogs, with test doubles for the objects (no class
// in a fresh prefix makes a real one).
#include "Application.h"
#include "ClipboardText.h"
#include "Form.h"
#include "Menus.h"
#include "RichEdit.h"
#include "RichEditOle.h"
#include "ScriptedMessageBoxes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {
constexpr CLSID FakeClassId{0x5EC0DE11, 0x1234, 0x5678, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr IID UnknownId{0x00000000, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID OleObjectId{0x00000112, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID OleLinkId{0x0000011D, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

LPOLESTR TaskCopy(const std::wstring& text)
{
    auto* copy = static_cast<LPOLESTR>(CoTaskMemAlloc((text.size() + 1) * sizeof(wchar_t)));
    std::memcpy(copy, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    return copy;
}

struct FakeVerb {
    LONG number;
    std::wstring name;
    DWORD attributes;
};

class FakeVerbs final : public IEnumOLEVERB {
public:
    explicit FakeVerbs(std::vector<FakeVerb> verbs) : verbs_(std::move(verbs)) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override
    {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE Next(ULONG count, LPOLEVERB verbs, ULONG* fetched) override
    {
        if (count != 1 || next_ >= verbs_.size())
            return S_FALSE;
        const FakeVerb& verb = verbs_[next_++];
        verbs[0] = OLEVERB{verb.number, TaskCopy(verb.name), 0, verb.attributes};
        if (fetched)
            *fetched = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        next_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumOLEVERB**) override { return E_NOTIMPL; }

private:
    std::vector<FakeVerb> verbs_;
    std::size_t next_ = 0;
    ULONG references_ = 1;
};

// An object and, when asked to be one, a link: it records what the container
// does to it.
class FakeObject final : public IOleObject, public IOleLink {
public:
    FakeObject(std::string name, std::vector<std::string>& log, bool link = false)
        : name_(std::move(name)), log_(log), link_(link)
    {
    }

    std::vector<FakeVerb> verbs;
    std::wstring fullType = L"Fake Object";
    std::wstring shortType = L"Fake";
    std::wstring source;
    HRESULT updateResult = S_OK;
    LONG lastVerb = -100;
    HWND lastVerbWindow = nullptr;
    RECT lastVerbRect{};
    ULONG References() const { return references_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (IsEqualIID(iid, UnknownId) || IsEqualIID(iid, OleObjectId))
            *object = static_cast<IOleObject*>(this);
        else if (link_ && IsEqualIID(iid, OleLinkId))
            *object = static_cast<IOleLink*>(this);
        else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

    // IOleObject
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override
    {
        *site = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Close(DWORD option) override
    {
        log_.push_back("close " + name_ + (option == OLECLOSE_NOSAVE ? " nosave" : " save"));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override
    {
        *moniker = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, WINBOOL, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject** data) override
    {
        *data = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND window, LPCRECT rect) override
    {
        lastVerb = verb;
        lastVerbWindow = window;
        if (rect)
            lastVerbRect = *rect;
        log_.push_back("verb " + std::to_string(verb));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** verbsOut) override
    {
        *verbsOut = new FakeVerbs(verbs);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Update() override
    {
        log_.push_back("update " + name_);
        return updateResult;
    }
    HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* classId) override
    {
        *classId = FakeClassId;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD form, LPOLESTR* type) override
    {
        *type = TaskCopy(form == USERCLASSTYPE_SHORT ? shortType : fullType);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL* size) override
    {
        *size = SIZEL{1000, 1000};
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD* connection) override
    {
        *connection = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** advise) override
    {
        *advise = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD* status) override
    {
        *status = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleLink
    HRESULT STDMETHODCALLTYPE SetUpdateOptions(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetUpdateOptions(DWORD* options) override
    {
        *options = OLEUPDATE_ALWAYS;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetSourceMoniker(IMoniker*, REFCLSID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSourceMoniker(IMoniker** moniker) override
    {
        *moniker = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetSourceDisplayName(LPCOLESTR name) override
    {
        source = name;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetSourceDisplayName(LPOLESTR* name) override
    {
        *name = TaskCopy(source);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE BindToSource(DWORD, IBindCtx*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE BindIfRunning() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetBoundSource(IUnknown** source) override
    {
        *source = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE UnbindSource() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Update(IBindCtx*) override { return S_OK; }

private:
    std::string name_;
    std::vector<std::string>& log_;
    bool link_;
    ULONG references_ = 1;
};

class RichEditObjects : public ::testing::Test {
protected:
    void SetUp() override
    {
        TForm::CreateParams params;
        params.caption = "Objects test";
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
        SetOleUIDialogs({});
    }

    // Inserts a double at the caret and selects it.
    TComRef<FakeObject> Insert(const std::string& name, DWORD flags = 0, bool link = false)
    {
        TComRef<FakeObject> object(new FakeObject(name, log, link));
        TObjectRecord record;
        record->clsid = FakeClassId;
        record->poleobj = object.Get();
        object->AddRef();
        record->pstg = CreateObjectStorage().Detach();
        EXPECT_EQ(edit->OleInterface()->GetClientSite(&record->polesite), S_OK);
        record->dvaspect = DVASPECT_CONTENT;
        record->dwFlags = flags;
        const int at = edit->SelStart();
        EXPECT_EQ(edit->OleInterface()->InsertObject(&record.Get()), S_OK);
        edit->SetSelection(at, at + 1, false);
        return object;
    }

    std::unique_ptr<TForm> form;
    std::unique_ptr<TQRichEdit> edit;
    std::vector<std::string> log;
};

std::vector<std::string> Captions(const TMenuItem& parent)
{
    std::vector<std::string> captions;
    for (int i = 0; i < parent.Count(); ++i)
        captions.push_back(parent.Items(i)->Caption());
    return captions;
}
}

TEST_F(RichEditObjects, OffGivesNoInterfaceAQuietClearAndTheOwnPopup)
{
    edit->SetText("some text");
    edit->SetModified(true);
    edit->SetAllowObjects(false);
    EXPECT_EQ(edit->OleInterface(), nullptr);
    EXPECT_EQ(edit->OleCallback().ReferenceCount(), 1u);
    EXPECT_EQ(edit->Text(), "some text");
    EXPECT_TRUE(edit->Modified());
    TPopupMenu own;
    edit->SetPopupMenu(&own);
    EXPECT_EQ(edit->GetPopupMenu(), &own);
    EXPECT_EQ(edit->VerbMenu(), nullptr);
    edit->Clear();
    EXPECT_EQ(edit->Text(), "");
    EXPECT_FALSE(edit->Modified());
}

TEST_F(RichEditObjects, OnRegistersTheCallbackAndRecreationKeepsTheText)
{
    ASSERT_TRUE(edit->AllowObjects());
    ASSERT_NE(edit->OleInterface(), nullptr);
    // The control's own reference and the window's.
    EXPECT_EQ(edit->OleCallback().ReferenceCount(), 2u);
    edit->SetText("line one\r\nline two");
    edit->SetSelection(2, 6, false);
    edit->SetModified(true);
    edit->SetAllowObjects(false);
    EXPECT_EQ(edit->OleCallback().ReferenceCount(), 1u);
    edit->SetAllowObjects(true);
    EXPECT_EQ(edit->OleCallback().ReferenceCount(), 2u);
    EXPECT_NE(edit->OleInterface(), nullptr);
    EXPECT_EQ(edit->Text(), "line one\r\nline two");
    EXPECT_TRUE(edit->Modified());
    EXPECT_EQ(edit->SelStart(), 2);
    EXPECT_EQ(edit->SelLength(), 4);
    edit->SetModified(false);
    edit->SetAllowObjects(false);
    EXPECT_FALSE(edit->Modified());
}

TEST_F(RichEditObjects, ObjectsCloseWithoutSavingLastToFirst)
{
    edit->SetText("ab");
    edit->SetSelStart(0);
    TComRef<FakeObject> first = Insert("first");
    edit->SetSelStart(2);
    TComRef<FakeObject> second = Insert("second");
    ASSERT_EQ(edit->OleInterface()->GetObjectCount(), 2);
    EXPECT_EQ(edit->SelectionType(), stObject);
    edit->CloseObjects();
    EXPECT_EQ(log, (std::vector<std::string>{"close second nosave", "close first nosave"}));

    // The window going closes them too, and lets the callback go.
    log.clear();
    DestroyWindow(edit->Handle());
    EXPECT_EQ(log, (std::vector<std::string>{"close second nosave", "close first nosave"}));
    EXPECT_EQ(edit->OleInterface(), nullptr);
    EXPECT_EQ(edit->OleCallback().ReferenceCount(), 1u);
}

TEST_F(RichEditObjects, TheVerbMenuOffersContainerVerbsAndLeavesWithItsItems)
{
    TComRef<FakeObject> object = Insert("sheet");
    object->verbs = {{0, L"&Edit", OLEVERBATTRIB_ONCONTAINERMENU},
                     {1, L"&Open", 0},
                     {2, L"&Play", OLEVERBATTRIB_ONCONTAINERMENU}};
    // Without a popup of its own the verb menu is the menu, properties first.
    TPopupMenu* menu = edit->GetPopupMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu, edit->VerbMenu());
    EXPECT_EQ(Captions(menu->Items()), (std::vector<std::string>{"Fake Object Properties", "&Edit"}));
    EXPECT_TRUE(menu->Items().Items(1)->Default());

    TPopupMenu own;
    auto cut = std::make_unique<TMenuItem>();
    cut->SetCaption("Cu&t");
    own.Items().Add(std::move(cut));
    edit->SetPopupMenu(&own);
    for (int click = 0; click < 2; ++click) {
        EXPECT_EQ(edit->GetPopupMenu(), &own);
        ASSERT_EQ(Captions(own.Items()),
                  (std::vector<std::string>{"Cu&t", "-", "Fake Object Properties", "Fake Object"}))
            << click;
        EXPECT_EQ(Captions(*own.Items().Items(3)), (std::vector<std::string>{"&Edit"}));
    }

    // A click runs the verb on the object in the control's client area.
    own.Items().Items(3)->Items(0)->Click();
    EXPECT_EQ(object->lastVerb, 0);
    EXPECT_EQ(object->lastVerbWindow, edit->Handle());
    const RECT client = edit->ClientRect();
    EXPECT_TRUE(EqualRect(&object->lastVerbRect, &client));

    // Text selected again: the additions leave.
    edit->SetSelection(0, 0, false);
    EXPECT_EQ(edit->GetPopupMenu(), &own);
    EXPECT_EQ(Captions(own.Items()), (std::vector<std::string>{"Cu&t"}));
    // Objects without verbs and no popup of their own: the control's menu.
    edit->SetPopupMenu(nullptr);
    object->verbs.clear();
    edit->SetSelection(0, 1, false);
    EXPECT_EQ(edit->GetPopupMenu(), nullptr);
    edit->AutoVerbMenu = false;
    object->verbs = {{0, L"&Edit", OLEVERBATTRIB_ONCONTAINERMENU}};
    EXPECT_EQ(edit->GetPopupMenu(), nullptr);
}

TEST_F(RichEditObjects, ObjectAndLinkInformation)
{
    Application.SetTitle("Quillo");
    TComRef<FakeObject> object = Insert("linked", REO_LINK, true);
    TObjectRecord record;
    ASSERT_EQ(edit->OleInterface()->GetObject(REO_IOB_SELECTION, &record.Get(), REO_GETOBJ_ALL_INTERFACES), S_OK);

    auto info = TComRef<TOleUIObjInfo>::Share(new TOleUIObjInfo(*edit, record.Get()));
    struct {
        const char* title;
        const char* location;
    } locations[] = {{"", "Quillo"}, {"  ", "Quillo"}, {"Notes", "Notes - Quillo"}};
    for (const auto& l : locations) {
        edit->SetTitle(l.title);
        DWORD size = 0;
        LPSTR label = nullptr, type = nullptr, shortType = nullptr, location = nullptr;
        ASSERT_EQ(info->GetObjectInfo(0, &size, &label, &type, &shortType, &location), S_OK);
        EXPECT_EQ(size, static_cast<DWORD>(-1));
        EXPECT_STREQ(label, "Fake Object");
        EXPECT_STREQ(type, "Fake Object");
        EXPECT_STREQ(shortType, "Fake");
        EXPECT_STREQ(location, l.location);
        for (LPSTR text : {label, type, shortType, location})
            CoTaskMemFree(text);
    }
    CLSID classId{};
    EXPECT_EQ(info->GetConvertInfo(0, &classId, nullptr, nullptr, nullptr, nullptr), S_OK);
    EXPECT_TRUE(IsEqualCLSID(classId, FakeClassId));

    auto link = TComRef<TOleUILinkInfo>::Share(new TOleUILinkInfo(*edit, record.Get()));
    EXPECT_EQ(link->GetNextLink(0), TOleUILinkInfo::LinkId);
    EXPECT_EQ(link->GetNextLink(TOleUILinkInfo::LinkId), 0u);
    // A long source is linked whole.
    const std::string longSource = "C:\\" + std::string(300, 's') + ".txt";
    ULONG eaten = 0;
    edit->SetModified(false);
    EXPECT_EQ(link->SetLinkSource(1, const_cast<LPSTR>(longSource.c_str()), 0, &eaten, TRUE), S_OK);
    EXPECT_EQ(object->source, std::wstring(longSource.begin(), longSource.end()));
    EXPECT_EQ(eaten, longSource.size());
    EXPECT_EQ(link->SetLinkUpdateOptions(1, OLEUPDATE_ONCALL), S_OK);
    EXPECT_TRUE(edit->Modified());
    LPSTR name = nullptr, full = nullptr, shortName = nullptr;
    ULONG fileLength = 99;
    ASSERT_EQ(link->GetLinkSource(1, &name, &fileLength, &full, &shortName, nullptr, nullptr), S_OK);
    EXPECT_EQ(std::string(name), longSource);
    EXPECT_EQ(fileLength, 0u);
    EXPECT_STREQ(full, "Fake Object");
    EXPECT_STREQ(shortName, "Fake");
    for (LPSTR text : {name, full, shortName})
        CoTaskMemFree(text);

    // The refusals, exactly.
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDOK);
    boxes.Answer(IDOK);
    EXPECT_EQ(link->SetLinkSource(1, const_cast<LPSTR>("x"), 0, &eaten, FALSE), E_FAIL);
    EXPECT_EQ(link->CancelLink(1), E_NOTIMPL);
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[0].text, "Cannot link to an invalid source.");
    EXPECT_EQ(boxes.Shown()[1].text, "Break link operation is not supported.");
    for (const MessageBoxRequest& box : boxes.Shown()) {
        EXPECT_EQ(box.caption, "Link Properties");
        EXPECT_EQ(box.flags & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    }

    // A failure inside a method stops at its boundary: shown, and a failure code.
    object->updateResult = E_OUTOFMEMORY;
    boxes.Answer(IDOK);
    EXPECT_EQ(link->UpdateLink(1, FALSE, FALSE), E_FAIL);
    EXPECT_EQ(boxes.Shown().size(), 3u);

    // An object that is no link is refused.
    TComRef<FakeObject> plain(new FakeObject("plain", log));
    REOBJECT plainRecord = record.Get();
    plainRecord.poleobj = plain.Get();
    EXPECT_THROW(TComRef<TOleUILinkInfo>::Share(new TOleUILinkInfo(*edit, plainRecord)), EOleError);
    Application.SetTitle("");
}

TEST_F(RichEditObjects, DialogRecordsThroughTheSeam)
{
    std::vector<std::string> seen;
    TOleUIDialogs dialogs;
    dialogs.InsertObject = [&](OLEUIINSERTOBJECTA& record) {
        seen.push_back("insert");
        EXPECT_EQ(record.dwFlags, 0x2E2u);
        EXPECT_EQ(record.cchFile, 256u);
        EXPECT_EQ(record.hWndOwner, edit->Handle());
        EXPECT_EQ(record.oleRender, static_cast<DWORD>(OLERENDER_DRAW));
        EXPECT_NE(record.lpIStorage, nullptr);
        EXPECT_NE(record.lpIOleClientSite, nullptr);
        return UINT(OLEUI_CANCEL);
    };
    dialogs.PasteSpecial = [&](OLEUIPASTESPECIALA& record) {
        seen.push_back("paste");
        EXPECT_EQ(record.cPasteEntries, 6);
        EXPECT_EQ(record.dwFlags, static_cast<DWORD>(PSF_SELECTPASTE));
        EXPECT_EQ(record.cLinkTypes, 1);
        EXPECT_EQ(record.arrPasteEntries[4].fmtetc.cfFormat, CF_TEXT);
        EXPECT_STREQ(record.arrPasteEntries[4].lpstrFormatName, "Unformatted text");
        EXPECT_STREQ(record.arrPasteEntries[5].lpstrResultText, "bitmap image");
        return UINT(OLEUI_CANCEL);
    };
    dialogs.ObjectProperties = [&](OLEUIOBJECTPROPSA& record) {
        seen.push_back("properties");
        const bool link = (record.dwFlags & OPF_OBJECTISLINK) != 0;
        EXPECT_TRUE(record.dwFlags & OPF_DISABLECONVERT);
        EXPECT_EQ(record.lpLinkInfo != nullptr, link);
        EXPECT_NE(record.lpObjInfo, nullptr);
        EXPECT_STREQ(record.lpPS->pszCaption, "Fake Object Properties");
        EXPECT_TRUE(record.lpVP->dwFlags & VPF_DISABLESCALE);
        EXPECT_TRUE(record.lpLP->dwFlags & ELF_DISABLECANCELLINK);
        seen.push_back(link ? "link page" : "no link page");
        return UINT(OLEUI_OK);
    };
    SetOleUIDialogs(dialogs);

    EXPECT_FALSE(edit->InsertObjectDialog());
    ASSERT_TRUE(SetClipboardText("pasted"));
    EXPECT_FALSE(edit->PasteSpecialDialog());
    // Properties only for an object.
    EXPECT_FALSE(edit->ObjectPropertiesDialog());
    TComRef<FakeObject> object = Insert("embedded");
    EXPECT_TRUE(edit->ObjectPropertiesDialog());
    edit->SetSelStart(1);
    TComRef<FakeObject> linked = Insert("linked", REO_LINK, true);
    edit->ObjectPropsClick();
    EXPECT_EQ(seen, (std::vector<std::string>{"insert", "paste", "properties", "no link page", "properties",
                                              "link page"}));
    // Without objects nothing opens.
    edit->SetAllowObjects(false);
    EXPECT_FALSE(edit->InsertObjectDialog());
    EXPECT_FALSE(edit->PasteSpecialDialog());
    EXPECT_EQ(seen.size(), 6u);
}

namespace {
// Ends the next system dialog the thread shows with a command, as a person would.
class DialogAnswer {
public:
    explicit DialogAnswer(WORD command)
    {
        command_ = command;
        shown_ = 0;
        hook_ = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
    }
    ~DialogAnswer() { UnhookWindowsHookEx(hook_); }
    DialogAnswer(const DialogAnswer&) = delete;
    DialogAnswer& operator=(const DialogAnswer&) = delete;
    static int Shown() { return shown_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_ACTIVATE) {
            char className[16] = {};
            GetClassNameA(reinterpret_cast<HWND>(wParam), className, sizeof className);
            if (std::strcmp(className, "#32770") == 0) {
                ++shown_;
                PostMessageA(reinterpret_cast<HWND>(wParam), WM_COMMAND, command_, 0);
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline WORD command_ = IDCANCEL;
    static inline int shown_ = 0;
    HHOOK hook_;
};
}

TEST_F(RichEditObjects, LiveDialogsRunWhereTheSystemOffersThem)
{
    edit->SetText("start ");
    edit->SetSelStart(6);
    // Nothing to paste: no dialog.
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    {
        DialogAnswer answer(IDOK);
        EXPECT_FALSE(edit->PasteSpecialDialog());
        EXPECT_EQ(DialogAnswer::Shown(), 0);
    }
    // Text on the clipboard comes in as unformatted text.
    ASSERT_TRUE(SetClipboardText("pasted"));
    {
        DialogAnswer answer(IDOK);
        EXPECT_TRUE(edit->PasteSpecialDialog());
        EXPECT_EQ(DialogAnswer::Shown(), 1);
    }
    EXPECT_EQ(edit->Text(), "start pasted");
    // A cancelled insert adds nothing.
    {
        DialogAnswer answer(IDCANCEL);
        EXPECT_FALSE(edit->InsertObjectDialog());
        EXPECT_EQ(DialogAnswer::Shown(), 1);
    }
    EXPECT_EQ(edit->OleInterface()->GetObjectCount(), 0);
    // The system offers no properties dialog here: it reports false.
    TComRef<FakeObject> object = Insert("shown");
    EXPECT_FALSE(edit->ObjectPropertiesDialog());
}

TEST_F(RichEditObjects, TheCallbackAnswersTheControl)
{
    TRichEditOleCallback& callback = edit->OleCallback();
    TComRef<IStorage> storage;
    ASSERT_EQ(callback.GetNewStorage(storage.Receive()), S_OK);
    TComRef<IStream> stream;
    EXPECT_EQ(storage->CreateStream(L"data", STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0,
                                    stream.Receive()),
              S_OK);
    EXPECT_EQ(callback.QueryInsertObject(nullptr, nullptr, 0), S_OK);
    EXPECT_EQ(callback.QueryAcceptData(nullptr, nullptr, 0, FALSE, nullptr), S_OK);
    EXPECT_EQ(callback.ContextSensitiveHelp(TRUE), S_OK);
    IDataObject* data = reinterpret_cast<IDataObject*>(1);
    EXPECT_EQ(callback.GetClipboardData(nullptr, 0, &data), E_NOTIMPL);
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(callback.GetDragDropEffect(FALSE, 0, nullptr), E_NOTIMPL);
    EXPECT_EQ(callback.GetContextMenu(0, nullptr, nullptr, nullptr), E_NOTIMPL);
    TComRef<FakeObject> object(new FakeObject("deleted", log));
    EXPECT_EQ(callback.DeleteObject(object.Get()), S_OK);
    EXPECT_EQ(log, (std::vector<std::string>{"close deleted nosave"}));
}

namespace {
TMenuItem* AddItem(TMenuItem& parent, const std::string& caption, int group = 0, const std::string& shortCut = "")
{
    auto item = std::make_unique<TMenuItem>();
    item->SetCaption(caption);
    item->SetGroupIndex(group);
    if (!shortCut.empty())
        item->SetShortCutText(shortCut);
    return parent.Add(std::move(item));
}
}

TEST_F(RichEditObjects, InPlaceActivationUsesTheFormsFrame)
{
    TMainMenu menu(form.get());
    AddItem(*AddItem(menu.Items(), "&File", 0), "&Save", 0, "Ctrl+S");
    AddItem(*AddItem(menu.Items(), "&Edit", 1), "&Copy", 1, "Ctrl+C");
    AddItem(*AddItem(menu.Items(), "&Window", 4), "&Next", 4, "F6");
    form->SetMenu(&menu);
    TRichEditOleCallback& callback = edit->OleCallback();
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* document = nullptr;
    OLEINPLACEFRAMEINFO info{};
    info.cb = sizeof info;

    edit->AllowInPlace = false;
    EXPECT_EQ(callback.GetInPlaceContext(&frame, &document, &info), E_NOTIMPL);
    EXPECT_EQ(frame, nullptr);
    edit->AllowInPlace = true;
    ASSERT_EQ(callback.GetInPlaceContext(&frame, &document, &info), S_OK);
    ASSERT_NE(frame, nullptr);
    HWND frameWindow = nullptr;
    EXPECT_EQ(frame->GetWindow(&frameWindow), S_OK);
    EXPECT_EQ(frameWindow, form->Handle());
    EXPECT_FALSE(info.fMDIApp);
    EXPECT_EQ(info.hwndFrame, form->Handle());
    // The container keeps its file and window groups' keys, not the edit group's.
    ASSERT_EQ(info.cAccelEntries, 2u);
    ACCEL keys[4]{};
    ASSERT_EQ(CopyAcceleratorTableA(info.haccel, keys, 4), 2);
    EXPECT_EQ(keys[0].key, 'S');
    EXPECT_EQ(keys[0].fVirt, FVIRTKEY | FCONTROL);
    EXPECT_EQ(keys[1].key, VK_F6);

    // The shared menu gets the same groups, and gives them back.
    HMENU shared = CreateMenu();
    OLEMENUGROUPWIDTHS widths{};
    EXPECT_EQ(frame->InsertMenus(shared, &widths), S_OK);
    EXPECT_EQ(widths.width[0], 1);
    EXPECT_EQ(widths.width[2], 0);
    EXPECT_EQ(widths.width[4], 1);
    EXPECT_EQ(GetMenuItemCount(shared), 2);
    EXPECT_EQ(frame->RemoveMenus(shared), S_OK);
    EXPECT_EQ(GetMenuItemCount(shared), 0);
    DestroyMenu(shared);
    EXPECT_EQ(frame->SetStatusText(L"Editing"), S_OK);
    EXPECT_EQ(form->OleFrame().StatusText(), "Editing");
    frame->Release();
    document->Release();

    // The object's interface comes up, then the container's again.
    EXPECT_EQ(callback.ShowContainerUI(FALSE), S_OK);
    EXPECT_EQ(form->ActiveOleControl, edit.get());
    const HACCEL table = callback.Accelerators();
    EXPECT_EQ(callback.ShowContainerUI(TRUE), S_OK);
    EXPECT_EQ(form->ActiveOleControl, nullptr);
    EXPECT_EQ(GetMenu(form->Handle()), menu.Handle());
    EXPECT_EQ(callback.Accelerators(), nullptr);
    EXPECT_EQ(CopyAcceleratorTableA(table, nullptr, 0), 0);
    EXPECT_EQ(callback.FrameForm(), nullptr);
    // Without a frame form there is nothing to show.
    EXPECT_EQ(callback.ShowContainerUI(TRUE), E_NOTIMPL);
    form->SetMenu(nullptr);
}
