// A form that is being freed: what its window still receives must reach no
// handler, and a form freed while a handler of it runs must outlive it.
#include "Application.h"
#include "Exceptions.h"
#include "Form.h"
#include "Menus.h"
#include "ScriptedMessageBoxes.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::string> raisedEvents;

// The last part of the form to go: it sends the form what a teardown can
// bring once the other parts are freed.
struct TeardownMessages {
    HWND form = nullptr;
    HWND keptEdit = nullptr;
    ~TeardownMessages()
    {
        SendMessageA(form, WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
        SendMessageA(form, WM_ACTIVATE, WA_ACTIVE, 0);
        SendMessageA(form, WM_ACTIVATE, WA_INACTIVE, 0);
        SendMessageA(form, WM_SETFOCUS, 0, 0);
        SendMessageA(keptEdit, WM_SETFOCUS, 0, 0);
        SendMessageA(keptEdit, WM_KILLFOCUS, 0, 0);
    }
};

class FormWithParts : public TForm {
public:
    FormWithParts() : TForm(CreateParams{"Form with parts"})
    {
        item->SetCaption("&File");
        menu.Items().Add(std::move(item));
        SetMenu(&menu);
        teardown.form = Handle();
        teardown.keptEdit = keptEdit.Handle();
        const auto record = [](const char* event) { return [event] { raisedEvents.push_back(event); }; };
        OnResize = record("form resize");
        OnActivate = record("form activate");
        OnDeactivate = record("form deactivate");
        keptEdit.OnEnter = record("kept edit enter");
        keptEdit.OnExit = record("kept edit exit");
        goneEdit.OnEnter = record("gone edit enter");
        goneEdit.OnExit = record("gone edit exit");
        keptEdit.SetBounds(0, 0, 100, 20);
        goneEdit.SetBounds(0, 30, 100, 20);
    }

    TEdit keptEdit{this, this};
    TeardownMessages teardown;
    TMainMenu menu{this};
    std::unique_ptr<TMenuItem> item = std::make_unique<TMenuItem>(this);
    TEdit goneEdit{this, this};
};

} // namespace

TEST(FormDestroying, NothingItsWindowReceivesWhileItsPartsGoRaisesAnEvent)
{
    raisedEvents.clear();
    auto form = std::make_unique<FormWithParts>();
    form->Show();
    form->goneEdit.SetFocus();
    raisedEvents.clear();
    form.reset();
    EXPECT_EQ(raisedEvents, std::vector<std::string>{});
}

TEST(FormDestroying, AFormReleasedWhileItsHandlerRunsGoesOnceTheMessageIsHandled)
{
    struct Watched : TForm {
        Watched() : TForm(CreateParams{"Released form"}) {}
        ~Watched() override { *gone = true; }
        bool* gone = nullptr;
    };
    bool gone = false;
    auto owned = std::make_unique<Watched>();
    Watched* form = owned.get();
    form->gone = &gone;
    form->Show();
    bool goneInsideHandler = true;
    bool visibleInsideHandler = true;
    int resizes = 0;
    form->OnResize = [&] {
        ++resizes;
        Application.ReleaseForm(std::move(owned));
        goneInsideHandler = gone;
        visibleInsideHandler = IsWindowVisible(form->Handle()) != 0;
    };
    PostMessageA(form->Handle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(200, 100));
    PostMessageA(form->Handle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(210, 100));
    Application.ProcessMessages();
    EXPECT_EQ(resizes, 1);
    EXPECT_FALSE(goneInsideHandler);
    EXPECT_FALSE(visibleInsideHandler);
    EXPECT_TRUE(gone);
}

TEST(FormDestroying, AFormReleasedOutsideAnyHandlerGoesAtOnce)
{
    struct Watched : TForm {
        Watched(bool& gone) : TForm(CreateParams{"Released form"}), gone_(gone) {}
        ~Watched() override { gone_ = true; }
        bool& gone_;
    };
    bool gone = false;
    Application.ReleaseForm(std::make_unique<Watched>(gone));
    EXPECT_TRUE(gone);
}

TEST(ApplicationExceptions, AShortcutHandlerThatFailsIsShownAndTheLoopGoesOn)
{
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDOK);
    TForm form(TForm::CreateParams{"Shortcut form"});
    form.KeyPreview = true;
    std::vector<WORD> keys;
    form.OnKeyDown = [&](WORD& key, TShiftState) {
        keys.push_back(key);
        if (key == VK_F9)
            throw EReadError("Stream read error");
    };
    PostMessageA(form.Handle(), WM_KEYDOWN, VK_F9, 0);
    PostMessageA(form.Handle(), WM_KEYDOWN, VK_F8, 0);
    Application.ProcessMessages();
    ASSERT_FALSE(keys.empty());
    EXPECT_EQ(keys.front(), VK_F9);
    EXPECT_EQ(keys.back(), VK_F8);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Stream read error"});
    EXPECT_FALSE(Application.Terminated());
}
