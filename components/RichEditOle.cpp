#include "RichEditOle.h"

#include "Application.h"
#include "Form.h"
#include "Menus.h"
#include "RichEdit.h"
#include "Streams.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {
// Interface ids, spelled out: the import libraries do not carry all of them.
constexpr IID IIDRichEditOleCallback{0x00020D03, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID IIDUnknown{0x00000000, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID IIDOleObject{0x00000112, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID IIDOleLink{0x0000011D, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID IIDOleCache{0x0000011E, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID IIDDataObject{0x0000010E, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID IIDOleInPlaceObject{0x00000113, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// Runs a method body the system called: nothing may unwind into its frames.
template <class Body>
HRESULT ComBoundary(Body&& body)
{
    return GuardedCall([&]() -> HRESULT { return body(); }, E_FAIL);
}

std::string Narrow(const wchar_t* text)
{
    if (!text || !*text)
        return {};
    const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return {};
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, result.data(), size, nullptr, nullptr);
    result.resize(static_cast<std::size_t>(size - 1));
    return result;
}

std::wstring Widen(const char* text)
{
    if (!text || !*text)
        return {};
    const int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (size <= 1)
        return {};
    std::wstring result(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, result.data(), size);
    result.resize(static_cast<std::size_t>(size - 1));
    return result;
}

void SetTaskString(LPSTR* target, const std::string& text)
{
    if (target)
        *target = TaskMemoryString(text);
}

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

bool IsBlank(const std::string& text) { return Trimmed(text).empty(); }

std::string ProgramFileName()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const char* name = std::strrchr(path, '\\');
    return name ? name + 1 : path;
}

TOleUIDialogs& Dialogs()
{
    static TOleUIDialogs dialogs;
    return dialogs;
}

std::string FormatHResult(HRESULT code)
{
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = text ? Trimmed(text) : std::string();
    if (text)
        LocalFree(text);
    char number[32];
    std::snprintf(number, sizeof number, "OLE error %08lX", static_cast<unsigned long>(code));
    return message.empty() ? std::string(number) : message;
}
}

EOleError::EOleError(HRESULT code) : Exception(FormatHResult(code)), code_(code) {}

void OleCheck(HRESULT result)
{
    if (FAILED(result))
        throw EOleError(result);
}

void OleNeeded()
{
    struct OleSession {
        HRESULT result = OleInitialize(nullptr);
        ~OleSession()
        {
            if (SUCCEEDED(result))
                OleUninitialize();
        }
    };
    static const OleSession session;
}

void SetOleUIDialogs(TOleUIDialogs dialogs) { Dialogs() = std::move(dialogs); }

UINT RunPasteSpecialDialog(OLEUIPASTESPECIALA& record)
{
    return Dialogs().PasteSpecial ? Dialogs().PasteSpecial(record) : OleUIPasteSpecialA(&record);
}

UINT RunInsertObjectDialog(OLEUIINSERTOBJECTA& record)
{
    return Dialogs().InsertObject ? Dialogs().InsertObject(record) : OleUIInsertObjectA(&record);
}

UINT RunObjectPropertiesDialog(OLEUIOBJECTPROPSA& record)
{
    return Dialogs().ObjectProperties ? Dialogs().ObjectProperties(record) : OleUIObjectPropertiesA(&record);
}

LPSTR TaskMemoryString(const std::string& text)
{
    auto* copy = static_cast<LPSTR>(CoTaskMemAlloc(text.size() + 1));
    if (copy)
        std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

std::string TakeTaskMemoryString(LPOLESTR text)
{
    std::string result = Narrow(text);
    CoTaskMemFree(text);
    return result;
}

TComRef<IStorage> CreateObjectStorage()
{
    TComRef<ILockBytes> bytes;
    OleCheck(CreateILockBytesOnHGlobal(nullptr, TRUE, bytes.Receive()));
    TComRef<IStorage> storage;
    OleCheck(StgCreateDocfileOnILockBytes(bytes.Get(), STGM_SHARE_EXCLUSIVE | STGM_CREATE | STGM_READWRITE, 0,
                                          storage.Receive()));
    return storage;
}

std::string ObjectUserType(IOleObject* object, DWORD form)
{
    LPOLESTR name = nullptr;
    if (!object || FAILED(object->GetUserType(form, &name)))
        return {};
    return TakeTaskMemoryString(name);
}

HGLOBAL ObjectIconPicture(IOleObject* object, DWORD aspect)
{
    if (!object)
        return nullptr;
    if (aspect == DVASPECT_ICON) {
        TComRef<IDataObject> data;
        if (SUCCEEDED(object->QueryInterface(IIDDataObject, reinterpret_cast<void**>(data.Receive())))) {
            FORMATETC format{CF_METAFILEPICT, nullptr, DVASPECT_ICON, -1, TYMED_MFPICT};
            STGMEDIUM medium{};
            if (SUCCEEDED(data->GetData(&format, &medium))) {
                if (medium.tymed == TYMED_MFPICT && !medium.pUnkForRelease)
                    return medium.hMetaFilePict;
                ReleaseStgMedium(&medium);
            }
        }
    }
    CLSID classId{};
    if (FAILED(object->GetUserClassID(&classId)))
        return nullptr;
    return OleGetIconOfClass(classId, nullptr, TRUE);
}

void FreeIconPicture(HGLOBAL picture)
{
    if (!picture)
        return;
    if (auto* metaPicture = static_cast<METAFILEPICT*>(GlobalLock(picture))) {
        if (metaPicture->hMF)
            DeleteMetaFile(metaPicture->hMF);
        GlobalUnlock(picture);
    }
    GlobalFree(picture);
}

HRESULT ChangeDrawAspect(IOleObject* object, DWORD aspect, HGLOBAL iconPicture)
{
    if (!object)
        return E_INVALIDARG;
    TComRef<IOleCache> cache;
    HRESULT result = object->QueryInterface(IIDOleCache, reinterpret_cast<void**>(cache.Receive()));
    if (FAILED(result))
        return result;
    FORMATETC format{0, nullptr, aspect, -1, TYMED_NULL};
    DWORD connection = 0;
    result = cache->Cache(&format, ADVF_PRIMEFIRST, &connection);
    if (FAILED(result) && result != CACHE_S_SAMECACHE)
        return result;
    if (aspect == DVASPECT_ICON) {
        HGLOBAL picture = iconPicture;
        const bool ownPicture = !picture;
        if (ownPicture)
            picture = ObjectIconPicture(object, DVASPECT_CONTENT);
        if (picture) {
            FORMATETC iconFormat{CF_METAFILEPICT, nullptr, DVASPECT_ICON, -1, TYMED_MFPICT};
            STGMEDIUM medium{};
            medium.tymed = TYMED_MFPICT;
            medium.hMetaFilePict = picture;
            // The cache keeps a copy; the picture stays the caller's or ours.
            cache->SetData(&iconFormat, &medium, FALSE);
            if (ownPicture)
                FreeIconPicture(picture);
        }
    }
    // The entries of the other aspects go.
    TComRef<IEnumSTATDATA> entries;
    if (SUCCEEDED(cache->EnumCache(entries.Receive())) && entries) {
        std::vector<DWORD> stale;
        STATDATA data{};
        while (entries->Next(1, &data, nullptr) == S_OK) {
            if (data.formatetc.dwAspect != aspect)
                stale.push_back(data.dwConnection);
            if (data.pAdvSink)
                data.pAdvSink->Release();
        }
        for (DWORD entry : stale)
            cache->Uncache(entry);
    }
    if (aspect == DVASPECT_CONTENT)
        object->Update();
    return S_OK;
}

std::string LinkSourceName(IOleLink* link)
{
    LPOLESTR name = nullptr;
    if (!link || FAILED(link->GetSourceDisplayName(&name)))
        return {};
    return TakeTaskMemoryString(name);
}

ULONG FileMonikerPrefixLength(IOleLink* link)
{
    TComRef<IMoniker> source;
    if (!link || FAILED(link->GetSourceMoniker(source.Receive())) || !source)
        return 0;
    // A composite source begins with its first part.
    TComRef<IMoniker> first = source;
    TComRef<IEnumMoniker> parts;
    if (SUCCEEDED(source->Enum(TRUE, parts.Receive())) && parts) {
        TComRef<IMoniker> part;
        if (parts->Next(1, part.Receive(), nullptr) == S_OK && part)
            first = part;
    }
    DWORD kind = 0;
    if (first->IsSystemMoniker(&kind) != S_OK || kind != MKSYS_FILEMONIKER)
        return 0;
    TComRef<IBindCtx> context;
    if (FAILED(CreateBindCtx(0, context.Receive())))
        return 0;
    LPOLESTR name = nullptr;
    if (FAILED(first->GetDisplayName(context.Get(), nullptr, &name)))
        return 0;
    return static_cast<ULONG>(TakeTaskMemoryString(name).size());
}

TObjectRecord::TObjectRecord()
{
    std::memset(&record_, 0, sizeof record_);
    record_.cbStruct = sizeof record_;
    record_.cp = REO_CP_SELECTION;
}

void TObjectRecord::Release()
{
    if (record_.poleobj)
        std::exchange(record_.poleobj, nullptr)->Release();
    if (record_.pstg)
        std::exchange(record_.pstg, nullptr)->Release();
    if (record_.polesite)
        std::exchange(record_.polesite, nullptr)->Release();
}

// --- the callback ---

HRESULT TRichEditOleCallback::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(iid, IIDUnknown) || IsEqualIID(iid, IIDRichEditOleCallback)) {
        *object = static_cast<IRichEditOleCallback*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG TRichEditOleCallback::AddRef() { return ++references_; }

ULONG TRichEditOleCallback::Release()
{
    // The control frees the callback, never its last release.
    if (references_ > 0)
        --references_;
    return references_;
}

HRESULT TRichEditOleCallback::GetNewStorage(LPSTORAGE* storage)
{
    return ComBoundary([&] {
        if (!storage)
            return E_POINTER;
        *storage = nullptr;
        *storage = CreateObjectStorage().Detach();
        return S_OK;
    });
}

TRichEditOleCallback::~TRichEditOleCallback() { ReleaseForms(); }

void TRichEditOleCallback::FindForms()
{
    TForm* form = owner_.ParentForm();
    if (!form || documentForm_ || !owner_.AllowInPlace)
        return;
    documentForm_ = TComRef<TOleFrame>::Share(&form->OleFrame());
    frameForm_ = documentForm_;
}

void TRichEditOleCallback::ReleaseForms()
{
    if (accelerators_)
        DestroyAcceleratorTable(std::exchange(accelerators_, nullptr));
    acceleratorCount_ = 0;
    frameForm_.Reset();
    documentForm_.Reset();
}

HRESULT TRichEditOleCallback::GetInPlaceContext(LPOLEINPLACEFRAME* frame, LPOLEINPLACEUIWINDOW* document,
                                                LPOLEINPLACEFRAMEINFO frameInfo)
{
    return ComBoundary([&]() -> HRESULT {
        if (frame)
            *frame = nullptr;
        if (document)
            *document = nullptr;
        FindForms();
        if (!documentForm_ || !owner_.AllowInPlace)
            return E_NOTIMPL;
        if (!frame || !document || !frameInfo)
            return E_POINTER;
        frameForm_->AddRef();
        *frame = frameForm_.Get();
        documentForm_->AddRef();
        *document = documentForm_.Get();
        TForm* frameWindow = frameForm_->Form();
        if (!accelerators_ && frameWindow && frameWindow->Menu())
            accelerators_ = ContainerAccelerators(*frameWindow->Menu(), acceleratorCount_);
        frameInfo->fMDIApp = FALSE;
        frameInfo->hwndFrame = frameWindow ? frameWindow->Handle() : nullptr;
        frameInfo->haccel = accelerators_;
        frameInfo->cAccelEntries = static_cast<UINT>(acceleratorCount_);
        return S_OK;
    });
}

HRESULT TRichEditOleCallback::ShowContainerUI(WINBOOL show)
{
    return ComBoundary([&]() -> HRESULT {
        if (!show) {
            // The object's own interface comes up.
            FindForms();
            if (!frameForm_)
                return E_NOTIMPL;
            owner_.SetUIActive(true);
            return S_OK;
        }
        if (!frameForm_)
            return E_NOTIMPL;
        frameForm_->SetMenu(nullptr, nullptr, nullptr);
        frameForm_->SetBorderSpace(nullptr);
        owner_.SetUIActive(false);
        ReleaseForms();
        return S_OK;
    });
}

HRESULT TRichEditOleCallback::QueryInsertObject(LPCLSID, LPSTORAGE, LONG) { return S_OK; }

HRESULT TRichEditOleCallback::DeleteObject(LPOLEOBJECT object)
{
    return ComBoundary([&] {
        if (object)
            object->Close(OLECLOSE_NOSAVE);
        return S_OK;
    });
}

HRESULT TRichEditOleCallback::QueryAcceptData(LPDATAOBJECT, CLIPFORMAT*, DWORD, WINBOOL, HGLOBAL) { return S_OK; }

HRESULT TRichEditOleCallback::ContextSensitiveHelp(WINBOOL) { return S_OK; }

HRESULT TRichEditOleCallback::GetClipboardData(CHARRANGE*, DWORD, LPDATAOBJECT* data)
{
    if (data)
        *data = nullptr;
    return E_NOTIMPL;
}

HRESULT TRichEditOleCallback::GetDragDropEffect(WINBOOL, DWORD, LPDWORD) { return E_NOTIMPL; }

HRESULT TRichEditOleCallback::GetContextMenu(WORD, LPOLEOBJECT, CHARRANGE*, HMENU* menu)
{
    if (menu)
        *menu = nullptr;
    return E_NOTIMPL;
}

// --- object information ---

namespace {
void AddRecordReferences(REOBJECT& object)
{
    if (object.poleobj)
        object.poleobj->AddRef();
    if (object.pstg)
        object.pstg->AddRef();
    if (object.polesite)
        object.polesite->AddRef();
}

void ReleaseRecordReferences(REOBJECT& object)
{
    if (object.poleobj)
        object.poleobj->Release();
    if (object.pstg)
        object.pstg->Release();
    if (object.polesite)
        object.polesite->Release();
}

std::string ObjectLocation(const TQCustomRichEdit& owner)
{
    if (IsBlank(owner.Title()))
        return Application.Title();
    return owner.Title() + " - " + Application.Title();
}
}

TOleUIObjInfo::TOleUIObjInfo(TQCustomRichEdit& owner, const REOBJECT& object) : owner_(owner), object_(object)
{
    AddRecordReferences(object_);
}

TOleUIObjInfo::~TOleUIObjInfo() { ReleaseRecordReferences(object_); }

HRESULT TOleUIObjInfo::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(iid, IIDUnknown)) {
        *object = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG TOleUIObjInfo::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG TOleUIObjInfo::Release()
{
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HRESULT TOleUIObjInfo::GetObjectInfo(DWORD, DWORD* size, LPSTR* label, LPSTR* type, LPSTR* shortType,
                                     LPSTR* location)
{
    return ComBoundary([&] {
        if (size)
            *size = static_cast<DWORD>(-1);
        const std::string fullName = ObjectUserType(object_.poleobj, USERCLASSTYPE_FULL);
        SetTaskString(label, fullName);
        SetTaskString(type, fullName);
        SetTaskString(shortType, ObjectUserType(object_.poleobj, USERCLASSTYPE_SHORT));
        SetTaskString(location, ObjectLocation(owner_));
        return S_OK;
    });
}

HRESULT TOleUIObjInfo::GetConvertInfo(DWORD, CLSID* classId, WORD* format, CLSID* defaultClassId,
                                      LPCLSID* excluded, UINT* excludedCount)
{
    return ComBoundary([&] {
        if (format)
            *format = 0;
        if (defaultClassId)
            *defaultClassId = CLSID_NULL;
        if (excluded)
            *excluded = nullptr;
        if (excludedCount)
            *excludedCount = 0;
        if (classId && object_.poleobj)
            OleCheck(object_.poleobj->GetUserClassID(classId));
        return S_OK;
    });
}

HRESULT TOleUIObjInfo::ConvertObject(DWORD, REFCLSID) { return E_NOTIMPL; }

HRESULT TOleUIObjInfo::GetViewInfo(DWORD, HGLOBAL* metaPicture, DWORD* aspect, int* currentScale)
{
    return ComBoundary([&] {
        if (metaPicture)
            *metaPicture = ObjectIconPicture(object_.poleobj, object_.dvaspect);
        if (aspect)
            *aspect = object_.dvaspect;
        if (currentScale)
            *currentScale = 0;
        return S_OK;
    });
}

HRESULT TOleUIObjInfo::SetViewInfo(DWORD, HGLOBAL metaPicture, DWORD aspect, int, WINBOOL)
{
    return ComBoundary([&]() -> HRESULT {
        IRichEditOle* ole = owner_.OleInterface();
        if (!ole)
            return E_NOTIMPL;
        const bool icon = aspect != DVASPECT_CONTENT && (aspect == DVASPECT_ICON || object_.dvaspect == DVASPECT_ICON);
        const DWORD newAspect = icon ? DVASPECT_ICON : DVASPECT_CONTENT;
        ole->InPlaceDeactivate();
        const HRESULT result = ChangeDrawAspect(object_.poleobj, newAspect, metaPicture);
        if (SUCCEEDED(result)) {
            ole->SetDvaspect(REO_IOB_SELECTION, newAspect);
            object_.dvaspect = newAspect;
        }
        return result;
    });
}

// --- link information ---

TOleUILinkInfo::TOleUILinkInfo(TQCustomRichEdit& owner, const REOBJECT& object) : owner_(owner), object_(object)
{
    if (!object_.poleobj)
        throw EOleError(E_NOINTERFACE);
    OleCheck(object_.poleobj->QueryInterface(IIDOleLink, reinterpret_cast<void**>(link_.Receive())));
    AddRecordReferences(object_);
}

TOleUILinkInfo::~TOleUILinkInfo() { ReleaseRecordReferences(object_); }

HRESULT TOleUILinkInfo::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(iid, IIDUnknown)) {
        *object = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG TOleUILinkInfo::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG TOleUILinkInfo::Release()
{
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

DWORD TOleUILinkInfo::GetNextLink(DWORD link) { return link == 0 ? LinkId : 0; }

HRESULT TOleUILinkInfo::SetLinkUpdateOptions(DWORD, DWORD options)
{
    return ComBoundary([&] {
        const HRESULT result = link_->SetUpdateOptions(options);
        if (SUCCEEDED(result))
            owner_.SetModified(true);
        return result;
    });
}

HRESULT TOleUILinkInfo::GetLinkUpdateOptions(DWORD, DWORD* options)
{
    return ComBoundary([&] { return link_->GetUpdateOptions(options); });
}

HRESULT TOleUILinkInfo::SetLinkSource(DWORD, LPSTR displayName, ULONG, ULONG* eaten, WINBOOL validate)
{
    return ComBoundary([&]() -> HRESULT {
        if (!validate) {
            Application.MessageBox(kInvalidLinkSource, kLinkPropertiesCaption, MB_OK | MB_ICONERROR);
            return E_FAIL;
        }
        // The whole name, however long: a cut one would link elsewhere.
        const std::wstring name = Widen(displayName);
        if (FAILED(link_->SetSourceDisplayName(name.c_str())))
            return E_FAIL;
        if (eaten)
            *eaten = displayName ? static_cast<ULONG>(std::strlen(displayName)) : 0;
        OleCheck(object_.poleobj->Update());
        return S_OK;
    });
}

HRESULT TOleUILinkInfo::GetLinkSource(DWORD, LPSTR* displayName, ULONG* fileNameLength, LPSTR* fullLinkType,
                                      LPSTR* shortLinkType, WINBOOL*, WINBOOL*)
{
    return ComBoundary([&] {
        SetTaskString(displayName, LinkSourceName(link_.Get()));
        if (fileNameLength)
            *fileNameLength = FileMonikerPrefixLength(link_.Get());
        SetTaskString(fullLinkType, ObjectUserType(object_.poleobj, USERCLASSTYPE_FULL));
        SetTaskString(shortLinkType, ObjectUserType(object_.poleobj, USERCLASSTYPE_SHORT));
        return S_OK;
    });
}

HRESULT TOleUILinkInfo::OpenLinkSource(DWORD)
{
    return ComBoundary([&] {
        RECT client = owner_.ClientRect();
        OleCheck(object_.poleobj->DoVerb(OLEIVERB_SHOW, nullptr, object_.polesite, 0, owner_.Handle(), &client));
        return S_OK;
    });
}

HRESULT TOleUILinkInfo::UpdateLink(DWORD, WINBOOL, WINBOOL)
{
    return ComBoundary([&] {
        OleCheck(object_.poleobj->Update());
        return S_OK;
    });
}

HRESULT TOleUILinkInfo::CancelLink(DWORD)
{
    return ComBoundary([&] {
        Application.MessageBox(kBreakLinkNotSupported, kLinkPropertiesCaption, MB_OK | MB_ICONERROR);
        return E_NOTIMPL;
    });
}

HRESULT TOleUILinkInfo::GetLastUpdate(DWORD, FILETIME*) { return S_OK; }

// --- the control's object operations ---

namespace {
// The selected object with all its interfaces; false when there is none.
bool FetchSelectedObject(IRichEditOle* ole, TObjectRecord& object)
{
    return ole && SUCCEEDED(ole->GetObject(REO_IOB_SELECTION, &object.Get(), REO_GETOBJ_ALL_INTERFACES)) &&
           object->poleobj;
}

std::string PropertiesCaption(IOleObject* object)
{
    return ObjectUserType(object, USERCLASSTYPE_FULL) + " Properties";
}
}

void TQCustomRichEdit::AttachOle()
{
    if (!Handle() || oleInterface_)
        return;
    OleNeeded();
    SendMessageA(Handle(), EM_SETOLECALLBACK, 0,
                 reinterpret_cast<LPARAM>(static_cast<IRichEditOleCallback*>(oleCallback_.get())));
    IRichEditOle* ole = nullptr;
    if (SendMessageA(Handle(), EM_GETOLEINTERFACE, 0, reinterpret_cast<LPARAM>(&ole)) && ole)
        oleInterface_ = TComRef<IRichEditOle>(ole);
    UpdateHostNames();
}

void TQCustomRichEdit::DetachOle()
{
    if (!oleInterface_)
        return;
    CloseObjects();
    oleInterface_.Reset();
}

void TQCustomRichEdit::SetAllowObjects(bool allow)
{
    if (allow == allowObjects_)
        return;
    allowObjects_ = allow;
    if (!Handle())
        return;
    // A new window, which takes the content over in the current mode.
    const bool modified = Modified();
    const CHARRANGE selection = GetSelection();
    const TRichStreamFormat format = lines_->Format();
    const TRichStreamModes mode = lines_->Mode();
    const LRESULT eventMask = SendMessageA(Handle(), EM_GETEVENTMASK, 0, 0);
    TMemoryStream content;
    lines_->SetFormat(plainText_ ? sfPlainText : sfRichText);
    lines_->SetMode(0);
    try {
        lines_->SaveToStream(content);
        content.SetPosition(0);
        RecreateWindow();
        SendMessageA(Handle(), EM_SETEVENTMASK, 0, 0);
        lines_->LoadFromStream(content);
    } catch (...) {
        SendMessageA(Handle(), EM_SETEVENTMASK, 0, eventMask);
        lines_->SetFormat(format);
        lines_->SetMode(mode);
        throw;
    }
    SendMessageA(Handle(), EM_SETEVENTMASK, 0, eventMask);
    lines_->SetFormat(format);
    lines_->SetMode(mode);
    SetSelection(selection.cpMin, selection.cpMax, false);
    SetModified(modified);
}

void TQCustomRichEdit::SetTitle(const std::string& title)
{
    if (title == title_)
        return;
    title_ = title;
    UpdateHostNames();
}

TRichSelectionType TQCustomRichEdit::SelectionType() const
{
    if (!Handle())
        return 0;
    return static_cast<TRichSelectionType>(SendMessageA(Handle(), EM_SELECTIONTYPE, 0, 0)) &
           (stText | stObject | stMultiChar | stMultiObject);
}

void TQCustomRichEdit::CloseObjects()
{
    if (!oleInterface_)
        return;
    for (LONG index = oleInterface_->GetObjectCount() - 1; index >= 0; --index) {
        TObjectRecord object;
        if (FAILED(oleInterface_->GetObject(index, &object.Get(), REO_GETOBJ_POLEOBJ)) || !object->poleobj)
            continue;
        if (object->dwFlags & REO_INPLACEACTIVE)
            oleInterface_->InPlaceDeactivate();
        object->poleobj->Close(OLECLOSE_NOSAVE);
    }
}

void TQCustomRichEdit::UpdateHostNames()
{
    if (!Handle() || !oleInterface_)
        return;
    std::string application = Trimmed(Application.Title());
    if (application.empty())
        application = ProgramFileName();
    // The control may not take the names (it answers E_NOTIMPL under Wine).
    oleInterface_->SetHostNames(application.c_str(), IsBlank(title_) ? application.c_str() : title_.c_str());
}

void TQCustomRichEdit::ReleaseVerbMenu()
{
    if (extendedPopup_) {
        for (TMenuItem* item : popupAdditions_)
            extendedPopup_->Items().Remove(item);
        extendedPopup_ = nullptr;
    }
    popupAdditions_.clear();
    verbMenu_.reset();
}

TPopupMenu* TQCustomRichEdit::GetPopupMenu()
{
    ReleaseVerbMenu();
    TPopupMenu* own = PopupMenu();
    if (!AutoVerbMenu || SelectionType() != stObject || !oleInterface_)
        return own;
    TObjectRecord object;
    if (!FetchSelectedObject(oleInterface_.Get(), object) || (object->dwFlags & REO_INPLACEACTIVE))
        return own;

    std::vector<std::unique_ptr<TMenuItem>> verbs;
    TComRef<IEnumOLEVERB> enumerator;
    if (SUCCEEDED(object->poleobj->EnumVerbs(enumerator.Receive())) && enumerator) {
        OLEVERB verb{};
        while (enumerator->Next(1, &verb, nullptr) == S_OK) {
            const std::string name = Narrow(verb.lpszVerbName);
            CoTaskMemFree(verb.lpszVerbName);
            if (verb.lVerb < 0 || !(verb.grfAttribs & OLEVERBATTRIB_ONCONTAINERMENU))
                break;
            auto item = std::make_unique<TMenuItem>();
            item->SetCaption(name);
            item->SetDefault(verb.lVerb == 0);
            item->Tag = static_cast<int>(verb.lVerb);
            const LONG number = verb.lVerb;
            item->OnClick = [this, number](TComponent*) { PopupVerbClick(number); };
            verbs.push_back(std::move(item));
        }
    }
    const std::string typeName = ObjectUserType(object->poleobj, USERCLASSTYPE_FULL);
    auto properties = std::make_unique<TMenuItem>();
    properties->SetCaption(typeName + " Properties");
    properties->OnClick = [this](TComponent*) { ObjectPropsClick(); };

    if (own && own->Items().Count() > 0) {
        auto separator = std::make_unique<TMenuItem>();
        separator->SetCaption("-");
        popupAdditions_.push_back(own->Items().Add(std::move(separator)));
        popupAdditions_.push_back(own->Items().Add(std::move(properties)));
        if (!verbs.empty()) {
            auto submenu = std::make_unique<TMenuItem>();
            submenu->SetCaption(typeName);
            for (auto& verb : verbs)
                submenu->Add(std::move(verb));
            popupAdditions_.push_back(own->Items().Add(std::move(submenu)));
        }
        extendedPopup_ = own;
        return own;
    }
    if (verbs.empty())
        return own;
    verbMenu_ = std::make_unique<TPopupMenu>();
    verbMenu_->Items().Add(std::move(properties));
    for (auto& verb : verbs)
        verbMenu_->Items().Add(std::move(verb));
    return verbMenu_.get();
}

bool TQCustomRichEdit::HandleContextMenu(int screenX, int screenY)
{
    TPopupMenu* menu = GetPopupMenu();
    if (!menu || !menu->AutoPopup)
        return false;
    if (screenX == -1 && screenY == -1) {
        const POINT origin = ClientToScreen(POINT{0, 0});
        screenX = origin.x;
        screenY = origin.y;
    }
    menu->PopupComponent = this;
    menu->Popup(screenX, screenY);
    return true;
}

void TQCustomRichEdit::SetUIActive(bool active)
{
    GuardedCall(
        [&] {
            TForm* form = ParentForm();
            if (!form)
                return 0;
            if (active) {
                form->ActiveOleControl = this;
                if (AllowInPlace && CanFocus())
                    SetFocus();
            } else {
                if (form->ActiveOleControl == this)
                    form->ActiveOleControl = nullptr;
                if (form->ActiveControl() == this && AllowInPlace) {
                    ::SetFocus(Handle());
                    SelectionChange();
                }
            }
            return 0;
        },
        0);
}

void TQCustomRichEdit::PopupVerbClick(LONG verb)
{
    TObjectRecord object;
    if (!FetchSelectedObject(oleInterface_.Get(), object) || (object->dwFlags & REO_INPLACEACTIVE))
        return;
    RECT client = ClientRect();
    OleCheck(object->poleobj->DoVerb(verb, nullptr, object->polesite, 0, Handle(), &client));
}

void TQCustomRichEdit::InsertObjectAtSelection(REOBJECT& object, DWORD aspect, HGLOBAL iconPicture)
{
    if (aspect == DVASPECT_ICON && SUCCEEDED(ChangeDrawAspect(object.poleobj, DVASPECT_ICON, iconPicture)))
        object.dvaspect = DVASPECT_ICON;
    object.cp = REO_CP_SELECTION;
    const CHARRANGE selection = GetSelection();
    OleCheck(oleInterface_->InsertObject(&object));
    // The object takes one character.
    SetSelection(selection.cpMin, selection.cpMin + 1, false);
    oleInterface_->SetDvaspect(REO_IOB_SELECTION, object.dvaspect);
}

bool TQCustomRichEdit::PasteSpecialDialog()
{
    if (!CanPaste() || !oleInterface_)
        return false;
    const CLIPFORMAT embedded = static_cast<CLIPFORMAT>(RegisterClipboardFormatA("Embedded Object"));
    const CLIPFORMAT linkSource = static_cast<CLIPFORMAT>(RegisterClipboardFormatA("Link Source"));
    const CLIPFORMAT rtf = static_cast<CLIPFORMAT>(RegisterClipboardFormatA("Rich Text Format"));
    const CLIPFORMAT rtfPlain = static_cast<CLIPFORMAT>(RegisterClipboardFormatA("Rich Text Format Without Objects"));
    auto entry = [](CLIPFORMAT format, DWORD medium, DWORD flags, const char* name, const char* result) {
        OLEUIPASTEENTRYA e{};
        e.fmtetc = FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, medium};
        e.lpstrFormatName = name;
        e.lpstrResultText = result;
        e.dwFlags = flags;
        return e;
    };
    OLEUIPASTEENTRYA entries[] = {
        entry(embedded, TYMED_ISTORAGE, OLEUIPASTE_PASTE | OLEUIPASTE_ENABLEICON, "%s", "%s"),
        entry(linkSource, TYMED_ISTREAM, OLEUIPASTE_LINKTYPE1 | OLEUIPASTE_ENABLEICON, "%s", "%s"),
        entry(rtf, TYMED_ISTORAGE, OLEUIPASTE_PASTE, "Rich Text Format", "Rich Text Format"),
        entry(rtfPlain, TYMED_ISTORAGE, OLEUIPASTE_PASTE, "Rich Text Format Without Objects",
              "Rich Text Format Without Objects"),
        entry(CF_TEXT, TYMED_HGLOBAL, OLEUIPASTE_PASTE, "Unformatted text", "text without any formatting"),
        entry(CF_BITMAP, TYMED_GDI, OLEUIPASTE_PASTE, "Windows Bitmap", "bitmap image"),
    };
    UINT linkTypes[] = {linkSource};
    OLEUIPASTESPECIALA record{};
    record.cbStruct = sizeof record;
    record.dwFlags = PSF_SELECTPASTE;
    record.hWndOwner = Handle();
    record.arrPasteEntries = entries;
    record.cPasteEntries = static_cast<int>(std::size(entries));
    record.arrLinkTypes = linkTypes;
    record.cLinkTypes = 1;
    // The dialog's data object and icon go on every path.
    struct Results {
        OLEUIPASTESPECIALA& record;
        ~Results()
        {
            if (record.lpSrcDataObj)
                record.lpSrcDataObj->Release();
            FreeIconPicture(record.hMetaPict);
        }
    } results{record};
    const bool confirmed = RunPasteSpecialDialog(record) == OLEUI_OK;
    if (!confirmed || !record.lpSrcDataObj)
        return confirmed;
    const int chosen = record.nSelectedIndex;
    const DWORD aspect = (record.dwFlags & PSF_CHECKDISPLAYASICON) ? DVASPECT_ICON : DVASPECT_CONTENT;
    if (chosen >= 2 && chosen <= 5) {
        CLIPFORMAT format = entries[chosen].fmtetc.cfFormat;
        const HRESULT result = oleInterface_->ImportDataObject(record.lpSrcDataObj, format, record.hMetaPict);
        if (result == E_NOTIMPL) {
            // Controls that cannot import a data object still paste its format.
            REPASTESPECIAL special{aspect, reinterpret_cast<DWORD_PTR>(record.hMetaPict)};
            SendMessageA(Handle(), EM_PASTESPECIAL, format, reinterpret_cast<LPARAM>(&special));
        } else {
            OleCheck(result);
        }
    } else if (chosen == 0 || chosen == 1) {
        TObjectRecord object;
        OleCheck(oleInterface_->GetClientSite(&object->polesite));
        object->pstg = CreateObjectStorage().Detach();
        IOleObject* created = nullptr;
        if (chosen == 0 || !record.fLink)
            OleCheck(OleCreateFromData(record.lpSrcDataObj, IIDOleObject, OLERENDER_DRAW, nullptr, object->polesite,
                                       object->pstg, reinterpret_cast<void**>(&created)));
        else
            OleCheck(OleCreateLinkFromData(record.lpSrcDataObj, IIDOleObject, OLERENDER_DRAW, nullptr,
                                           object->polesite, object->pstg, reinterpret_cast<void**>(&created)));
        object->poleobj = created;
        created->GetUserClassID(&object->clsid);
        object->dvaspect = DVASPECT_CONTENT;
        object->dwFlags = REO_RESIZABLE;
        InsertObjectAtSelection(object.Get(), aspect, record.hMetaPict);
    }
    SendMessageA(Handle(), EM_SCROLLCARET, 0, 0);
    return true;
}

bool TQCustomRichEdit::InsertObjectDialog()
{
    if (!oleInterface_)
        return false;
    TObjectRecord object;
    OleCheck(oleInterface_->GetClientSite(&object->polesite));
    object->pstg = CreateObjectStorage().Detach();
    char fileName[256] = {};
    IOleObject* created = nullptr;
    OLEUIINSERTOBJECTA record{};
    record.cbStruct = sizeof record;
    record.dwFlags = IOF_SELECTCREATENEW | IOF_CREATENEWOBJECT | IOF_CREATEFILEOBJECT | IOF_CREATELINKOBJECT |
                     IOF_VERIFYSERVERSEXIST;
    record.hWndOwner = Handle();
    record.lpszFile = fileName;
    record.cchFile = sizeof fileName;
    record.iid = IIDOleObject;
    record.oleRender = OLERENDER_DRAW;
    record.lpIOleClientSite = object->polesite;
    record.lpIStorage = object->pstg;
    record.ppvObj = reinterpret_cast<void**>(&created);
    const UINT answer = RunInsertObjectDialog(record);
    object->poleobj = created;
    struct IconPicture {
        HGLOBAL picture;
        ~IconPicture() { FreeIconPicture(picture); }
    } icon{record.hMetaPict};
    if (answer != OLEUI_OK || !created)
        return false;
    const bool newObject = (record.dwFlags & IOF_SELECTCREATENEW) != 0;
    object->clsid = record.clsid;
    object->dvaspect = DVASPECT_CONTENT;
    object->dwFlags = REO_RESIZABLE | (newObject ? REO_BLANK : 0);
    InsertObjectAtSelection(object.Get(),
                            (record.dwFlags & IOF_CHECKDISPLAYASICON) ? DVASPECT_ICON : DVASPECT_CONTENT,
                            record.hMetaPict);
    SendMessageA(Handle(), EM_SCROLLCARET, 0, 0);
    if (newObject) {
        RECT client = ClientRect();
        OleCheck(created->DoVerb(OLEIVERB_SHOW, nullptr, object->polesite, 0, Handle(), &client));
    }
    return true;
}

bool TQCustomRichEdit::ObjectPropertiesDialog()
{
    if (!oleInterface_ || SelectionType() != stObject)
        return false;
    TObjectRecord object;
    if (!FetchSelectedObject(oleInterface_.Get(), object) || (object->dwFlags & REO_INPLACEACTIVE))
        return false;
    const bool link = (object->dwFlags & REO_LINK) != 0;
    TComRef<TOleUIObjInfo> objectInfo = TComRef<TOleUIObjInfo>::Share(new TOleUIObjInfo(*this, object.Get()));
    TComRef<TOleUILinkInfo> linkInfo;
    if (link)
        linkInfo = TComRef<TOleUILinkInfo>::Share(new TOleUILinkInfo(*this, object.Get()));
    const std::string caption = PropertiesCaption(object->poleobj);

    PROPSHEETHEADERA sheet{};
    sheet.dwSize = sizeof sheet;
    sheet.hwndParent = Handle();
    sheet.hInstance = GetModuleHandleA(nullptr);
    sheet.pszCaption = caption.c_str();
    OLEUIGNRLPROPSA general{};
    general.cbStruct = sizeof general;
    OLEUIVIEWPROPSA view{};
    view.cbStruct = sizeof view;
    view.dwFlags = VPF_DISABLESCALE;
    OLEUILINKPROPSA linkPage{};
    linkPage.cbStruct = sizeof linkPage;
    linkPage.dwFlags = ELF_DISABLECANCELLINK;
    OLEUIOBJECTPROPSA record{};
    record.cbStruct = sizeof record;
    record.dwFlags = OPF_DISABLECONVERT | (link ? OPF_OBJECTISLINK : 0);
    record.lpPS = &sheet;
    record.lpObjInfo = objectInfo.Get();
    record.lpLinkInfo = linkInfo.Get();
    record.dwLink = link ? TOleUILinkInfo::LinkId : 0;
    record.lpGP = &general;
    record.lpVP = &view;
    record.lpLP = &linkPage;
    return RunObjectPropertiesDialog(record) == OLEUI_OK;
}
