#pragma once
// The least frame a form offers an embedded object active in place: the
// form's window, the groups 0, 2 and 4 of its main menu for the shared menu,
// border space (none: tools go inside the object), the status text the
// object sets, and accelerators left to the form. There is no MDI.

#include <windows.h>
#include <ole2.h>

#include <string>

class TForm;

class TOleFrame final : public IOleInPlaceFrame {
public:
    explicit TOleFrame(TForm& form) : form_(&form) {}
    TOleFrame(const TOleFrame&) = delete;
    TOleFrame& operator=(const TOleFrame&) = delete;

    // The form is going: later calls find no window.
    void FormGone() { form_ = nullptr; }
    TForm* Form() const { return form_; }
    const std::string& StatusText() const { return statusText_; }
    // The menu set by the object, null while the form shows its own.
    HMENU SharedMenu() const { return sharedMenu_; }
    // The object's own in-place interface while it is active.
    IOleInPlaceActiveObject* ActiveObject() const { return activeObject_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(WINBOOL enterMode) override;
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT border) override;
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS widths) override;
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS widths) override;
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR name) override;
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU shared, LPOLEMENUGROUPWIDTHS widths) override;
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU shared, HOLEMENU descriptor, HWND activeObject) override;
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU shared) override;
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR text) override;
    HRESULT STDMETHODCALLTYPE EnableModeless(WINBOOL enable) override;
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG message, WORD id) override;

private:
    ~TOleFrame();
    TForm* form_;
    LONG references_ = 0;
    std::string statusText_;
    HMENU sharedMenu_ = nullptr;
    HOLEMENU descriptor_ = nullptr;
    IOleInPlaceActiveObject* activeObject_ = nullptr;
};

// The accelerators of a main menu's groups 0, 2 and 4: the keys the
// container keeps while an object's menus are merged in. The caller destroys
// the table; null when there are none.
class TMainMenu;
HACCEL ContainerAccelerators(const TMainMenu& menu, int& count);
