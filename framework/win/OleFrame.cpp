#include "OleFrame.h"

#include "Application.h"
#include "Form.h"
#include "Menus.h"

#include <utility>
#include <vector>

namespace {
constexpr IID IIDUnknown{0x00000000, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID IIDOleWindow{0x00000114, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID IIDOleInPlaceUIWindow{0x00000115, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID IIDOleInPlaceFrame{0x00000116, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// The container's menu groups (file, container, window) sit at even places
// of the width record.
bool ContainerGroup(int group) { return group == 0 || group == 2 || group == 4; }

std::string Narrow(LPCOLESTR text)
{
    if (!text || !*text)
        return {};
    const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, result.data(), size, nullptr, nullptr);
    result.resize(result.size() - 1);
    return result;
}

void CollectAccelerators(const TMenuItem& item, std::vector<ACCEL>& accelerators)
{
    if (item.ShortCut() != scNone && item.Command() != 0) {
        const TShiftState shift = ShortCutShiftState(item.ShortCut());
        BYTE flags = FVIRTKEY;
        if (shift & ssShift)
            flags |= FSHIFT;
        if (shift & ssCtrl)
            flags |= FCONTROL;
        if (shift & ssAlt)
            flags |= FALT;
        accelerators.push_back(ACCEL{flags, ShortCutKey(item.ShortCut()), static_cast<WORD>(item.Command())});
    }
    for (int i = 0; i < item.Count(); ++i)
        CollectAccelerators(*item.Items(i), accelerators);
}
}

TOleFrame::~TOleFrame()
{
    if (activeObject_)
        activeObject_->Release();
}

HRESULT TOleFrame::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(iid, IIDUnknown) || IsEqualIID(iid, IIDOleWindow) || IsEqualIID(iid, IIDOleInPlaceUIWindow) ||
        IsEqualIID(iid, IIDOleInPlaceFrame)) {
        *object = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG TOleFrame::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG TOleFrame::Release()
{
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HRESULT TOleFrame::GetWindow(HWND* window)
{
    if (!window)
        return E_POINTER;
    *window = form_ ? form_->Handle() : nullptr;
    return *window ? S_OK : E_FAIL;
}

HRESULT TOleFrame::ContextSensitiveHelp(WINBOOL) { return S_OK; }

HRESULT TOleFrame::GetBorder(LPRECT border)
{
    if (!border)
        return E_POINTER;
    if (!form_ || !form_->Handle())
        return E_FAIL;
    GetClientRect(form_->Handle(), border);
    return S_OK;
}

HRESULT TOleFrame::RequestBorderSpace(LPCBORDERWIDTHS widths)
{
    // No tool space around the form's controls.
    if (!widths)
        return S_OK;
    const bool none = widths->left == 0 && widths->top == 0 && widths->right == 0 && widths->bottom == 0;
    return none ? S_OK : INPLACE_E_NOTOOLSPACE;
}

HRESULT TOleFrame::SetBorderSpace(LPCBORDERWIDTHS widths) { return RequestBorderSpace(widths); }

HRESULT TOleFrame::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR)
{
    if (object)
        object->AddRef();
    if (activeObject_)
        activeObject_->Release();
    activeObject_ = object;
    return S_OK;
}

HRESULT TOleFrame::InsertMenus(HMENU shared, LPOLEMENUGROUPWIDTHS widths)
{
    return GuardedCall(
        [&]() -> HRESULT {
            if (!shared || !widths)
                return E_INVALIDARG;
            for (LONG& width : widths->width)
                width = 0;
            TMainMenu* menu = form_ ? form_->Menu() : nullptr;
            if (!menu)
                return S_OK;
            const TMenuItem& items = menu->Items();
            int position = 0;
            for (int group : {0, 2, 4}) {
                for (int i = 0; i < items.Count(); ++i) {
                    const TMenuItem& item = *items.Items(i);
                    if (item.GroupIndex() != group || !item.Visible() || !item.Handle())
                        continue;
                    // The shared menu borrows the submenus; RemoveMenus gives them back.
                    InsertMenuA(shared, static_cast<UINT>(position++), MF_BYPOSITION | MF_POPUP | MF_STRING,
                                reinterpret_cast<UINT_PTR>(item.Handle()), item.Caption().c_str());
                    ++widths->width[group];
                }
                // The object's groups come between the container's.
                position += static_cast<int>(group < 4 ? widths->width[group + 1] : 0);
            }
            return S_OK;
        },
        E_FAIL);
}

HRESULT TOleFrame::SetMenu(HMENU shared, HOLEMENU descriptor, HWND activeObject)
{
    if (!form_ || !form_->Handle())
        return E_FAIL;
    HWND window = form_->Handle();
    if (descriptor_ && descriptor_ != descriptor)
        OleSetMenuDescriptor(nullptr, window, nullptr, nullptr, nullptr);
    if (shared) {
        ::SetMenu(window, shared);
        sharedMenu_ = shared;
        descriptor_ = descriptor;
        OleSetMenuDescriptor(descriptor, window, activeObject, nullptr, nullptr);
    } else {
        // Back to the form's own menu.
        ::SetMenu(window, form_->Menu() ? form_->Menu()->Handle() : nullptr);
        sharedMenu_ = nullptr;
        descriptor_ = nullptr;
    }
    DrawMenuBar(window);
    return S_OK;
}

HRESULT TOleFrame::RemoveMenus(HMENU shared)
{
    if (!shared)
        return E_INVALIDARG;
    TMainMenu* menu = form_ ? form_->Menu() : nullptr;
    if (!menu)
        return S_OK;
    // Takes out the container's submenus without destroying them.
    for (int position = GetMenuItemCount(shared) - 1; position >= 0; --position) {
        HMENU submenu = GetSubMenu(shared, position);
        const TMenuItem& items = menu->Items();
        for (int i = 0; i < items.Count(); ++i)
            if (submenu && items.Items(i)->Handle() == submenu) {
                RemoveMenu(shared, static_cast<UINT>(position), MF_BYPOSITION);
                break;
            }
    }
    return S_OK;
}

HRESULT TOleFrame::SetStatusText(LPCOLESTR text)
{
    statusText_ = Narrow(text);
    return S_OK;
}

HRESULT TOleFrame::EnableModeless(WINBOOL) { return S_OK; }

HRESULT TOleFrame::TranslateAccelerator(LPMSG, WORD) { return S_FALSE; }

HACCEL ContainerAccelerators(const TMainMenu& menu, int& count)
{
    std::vector<ACCEL> accelerators;
    const TMenuItem& items = menu.Items();
    for (int i = 0; i < items.Count(); ++i)
        if (ContainerGroup(items.Items(i)->GroupIndex()))
            CollectAccelerators(*items.Items(i), accelerators);
    count = static_cast<int>(accelerators.size());
    if (accelerators.empty())
        return nullptr;
    return CreateAcceleratorTableA(accelerators.data(), count);
}
