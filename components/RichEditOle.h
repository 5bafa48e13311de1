#pragma once
// Embedded objects in the rich edit control: the callback the control calls
// for storage and menus, the object and link information the system's object
// dialogs read, and the routines both use. Every method the system calls
// catches at its boundary: an error is shown through the application's
// handler and the caller gets a failure code.

#include "ComRef.h"
#include "Exceptions.h"
#include "OleFrame.h"

#include <windows.h>
#include <ole2.h>
#include <oledlg.h>
#include <richedit.h>
#include <richole.h>

#include <functional>
#include <string>

class TQCustomRichEdit;

// An OLE call that failed, with its result code.
class EOleError : public Exception {
public:
    explicit EOleError(HRESULT code);
    HRESULT Code() const { return code_; }

private:
    HRESULT code_;
};

// Raises EOleError for a failure code.
void OleCheck(HRESULT result);

// OLE for the program's GUI thread, initialised on first need and ended with
// the program.
void OleNeeded();

// The system's object dialogs. They hold a modal loop until the person acts,
// so tests put functions of their own here; an empty function runs the
// system's dialog.
struct TOleUIDialogs {
    std::function<UINT(OLEUIPASTESPECIALA&)> PasteSpecial;
    std::function<UINT(OLEUIINSERTOBJECTA&)> InsertObject;
    std::function<UINT(OLEUIOBJECTPROPSA&)> ObjectProperties;
};
void SetOleUIDialogs(TOleUIDialogs dialogs);
UINT RunPasteSpecialDialog(OLEUIPASTESPECIALA& record);
UINT RunInsertObjectDialog(OLEUIINSERTOBJECTA& record);
UINT RunObjectPropertiesDialog(OLEUIOBJECTPROPSA& record);

// A new storage for an object: a compound file on global memory, freed with it.
TComRef<IStorage> CreateObjectStorage();
// The object's user type name: USERCLASSTYPE_FULL or USERCLASSTYPE_SHORT.
std::string ObjectUserType(IOleObject* object, DWORD form);
// A metafile picture of the object's icon (for the icon aspect, the one the
// object caches; else its class's icon); null when there is none.
HGLOBAL ObjectIconPicture(IOleObject* object, DWORD aspect);
// Frees a metafile picture: the metafile inside, then the memory.
void FreeIconPicture(HGLOBAL picture);
// Caches the object's drawing for the new aspect (for the icon, the picture
// given or its class's icon) and drops the entries of the others.
HRESULT ChangeDrawAspect(IOleObject* object, DWORD aspect, HGLOBAL iconPicture);
// The display name of a link's source; its file part's length (0 when the
// source does not begin with a file).
std::string LinkSourceName(IOleLink* link);
ULONG FileMonikerPrefixLength(IOleLink* link);
// Text the caller frees with CoTaskMemFree; null when memory runs out.
LPSTR TaskMemoryString(const std::string& text);
// The text of a wide task-memory string, which is freed.
std::string TakeTaskMemoryString(LPOLESTR text);

// The control's callback. The control owns it; the count only tracks the
// references the system holds (the control holds one of its own).
class TRichEditOleCallback final : public IRichEditOleCallback {
public:
    explicit TRichEditOleCallback(TQCustomRichEdit& owner) : owner_(owner) {}
    TRichEditOleCallback(const TRichEditOleCallback&) = delete;
    TRichEditOleCallback& operator=(const TRichEditOleCallback&) = delete;
    ~TRichEditOleCallback();

    ULONG ReferenceCount() const { return references_; }
    // While an object is active in place: the forms' frame, and the
    // container's accelerators built from the frame form's main menu.
    TOleFrame* FrameForm() const { return frameForm_.Get(); }
    TOleFrame* DocumentForm() const { return documentForm_.Get(); }
    HACCEL Accelerators() const { return accelerators_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetNewStorage(LPSTORAGE* storage) override;
    HRESULT STDMETHODCALLTYPE GetInPlaceContext(LPOLEINPLACEFRAME* frame, LPOLEINPLACEUIWINDOW* document,
                                                LPOLEINPLACEFRAMEINFO frameInfo) override;
    HRESULT STDMETHODCALLTYPE ShowContainerUI(WINBOOL show) override;
    HRESULT STDMETHODCALLTYPE QueryInsertObject(LPCLSID classId, LPSTORAGE storage, LONG position) override;
    HRESULT STDMETHODCALLTYPE DeleteObject(LPOLEOBJECT object) override;
    HRESULT STDMETHODCALLTYPE QueryAcceptData(LPDATAOBJECT data, CLIPFORMAT* format, DWORD operation,
                                              WINBOOL really, HGLOBAL metaPicture) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(WINBOOL enterMode) override;
    HRESULT STDMETHODCALLTYPE GetClipboardData(CHARRANGE* range, DWORD operation, LPDATAOBJECT* data) override;
    HRESULT STDMETHODCALLTYPE GetDragDropEffect(WINBOOL drag, DWORD keyState, LPDWORD effect) override;
    HRESULT STDMETHODCALLTYPE GetContextMenu(WORD selectionType, LPOLEOBJECT object, CHARRANGE* range,
                                             HMENU* menu) override;

private:
    void FindForms();
    void ReleaseForms();

    TQCustomRichEdit& owner_;
    ULONG references_ = 0;
    // No MDI here: the document form is the frame form.
    TComRef<TOleFrame> frameForm_;
    TComRef<TOleFrame> documentForm_;
    HACCEL accelerators_ = nullptr;
    int acceleratorCount_ = 0;
};

// What the object properties dialog reads of the selected object. Counted;
// frees itself with its last reference.
class TOleUIObjInfo final : public IOleUIObjInfoA {
public:
    // Holds references of its own to the record's interfaces.
    TOleUIObjInfo(TQCustomRichEdit& owner, const REOBJECT& object);
    TOleUIObjInfo(const TOleUIObjInfo&) = delete;
    TOleUIObjInfo& operator=(const TOleUIObjInfo&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetObjectInfo(DWORD objectId, DWORD* size, LPSTR* label, LPSTR* type,
                                            LPSTR* shortType, LPSTR* location) override;
    HRESULT STDMETHODCALLTYPE GetConvertInfo(DWORD objectId, CLSID* classId, WORD* format, CLSID* defaultClassId,
                                             LPCLSID* excluded, UINT* excludedCount) override;
    HRESULT STDMETHODCALLTYPE ConvertObject(DWORD objectId, REFCLSID newClassId) override;
    HRESULT STDMETHODCALLTYPE GetViewInfo(DWORD objectId, HGLOBAL* metaPicture, DWORD* aspect,
                                          int* currentScale) override;
    HRESULT STDMETHODCALLTYPE SetViewInfo(DWORD objectId, HGLOBAL metaPicture, DWORD aspect, int currentScale,
                                          WINBOOL relativeToOriginal) override;

private:
    ~TOleUIObjInfo();
    TQCustomRichEdit& owner_;
    REOBJECT object_;
    LONG references_ = 0;
};

// The link page's view of the selected object's one link. Counted; frees
// itself with its last reference.
class TOleUILinkInfo final : public IOleUILinkInfoA {
public:
    // Raises EOleError when the object is not a link.
    TOleUILinkInfo(TQCustomRichEdit& owner, const REOBJECT& object);
    TOleUILinkInfo(const TOleUILinkInfo&) = delete;
    TOleUILinkInfo& operator=(const TOleUILinkInfo&) = delete;

    // The id GetNextLink gives the one link.
    static constexpr DWORD LinkId = 1;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    DWORD STDMETHODCALLTYPE GetNextLink(DWORD link) override;
    HRESULT STDMETHODCALLTYPE SetLinkUpdateOptions(DWORD link, DWORD options) override;
    HRESULT STDMETHODCALLTYPE GetLinkUpdateOptions(DWORD link, DWORD* options) override;
    HRESULT STDMETHODCALLTYPE SetLinkSource(DWORD link, LPSTR displayName, ULONG fileNameLength, ULONG* eaten,
                                            WINBOOL validate) override;
    HRESULT STDMETHODCALLTYPE GetLinkSource(DWORD link, LPSTR* displayName, ULONG* fileNameLength,
                                            LPSTR* fullLinkType, LPSTR* shortLinkType, WINBOOL* sourceAvailable,
                                            WINBOOL* selected) override;
    HRESULT STDMETHODCALLTYPE OpenLinkSource(DWORD link) override;
    HRESULT STDMETHODCALLTYPE UpdateLink(DWORD link, WINBOOL errorMessage, WINBOOL reserved) override;
    HRESULT STDMETHODCALLTYPE CancelLink(DWORD link) override;
    HRESULT STDMETHODCALLTYPE GetLastUpdate(DWORD link, FILETIME* lastUpdate) override;

private:
    ~TOleUILinkInfo();
    TQCustomRichEdit& owner_;
    REOBJECT object_;
    TComRef<IOleLink> link_;
    LONG references_ = 0;
};

// The caption and texts of the refused link operations.
inline constexpr char kLinkPropertiesCaption[] = "Link Properties";
inline constexpr char kInvalidLinkSource[] = "Cannot link to an invalid source.";
inline constexpr char kBreakLinkNotSupported[] = "Break link operation is not supported.";

// An object record of the control that holds references to its interfaces
// and releases them when it goes.
class TObjectRecord {
public:
    TObjectRecord();
    ~TObjectRecord() { Release(); }
    TObjectRecord(const TObjectRecord&) = delete;
    TObjectRecord& operator=(const TObjectRecord&) = delete;
    REOBJECT& Get() { return record_; }
    const REOBJECT& Get() const { return record_; }
    REOBJECT* operator->() { return &record_; }
    void Release();

private:
    REOBJECT record_;
};
