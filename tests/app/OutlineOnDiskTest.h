#pragma once
// Main-window tests that open and save real outline files in a folder of the
// test's own, starting from a new empty outline.

#include "MainWindowTest.h"
#include "OutlineFile.h"
#include "PageData.h"
#include "Pages.h"
#include "TestFolder.h"

#include <string>

class OutlineOnDiskTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        OptionSettings.BackupCopy = false;
        NewOutline();
    }

    // An outline "title" with one sub page, written to name and left open
    // under that name, unchanged.
    std::string SavedOutline(const std::string& name, const std::string& title)
    {
        NewOutline();
        Root()->SetText(title);
        PageDataOf(Root())->SetBodyText(title + " body");
        Tree().SetSelected(Root());
        AddChildPage("Child of " + title);
        const std::string path = folder_ / name;
        EXPECT_TRUE(SaveOutline(path));
        LastShownPage = nullptr;
        Main->TreeClick();
        return path;
    }
    // Drops whatever the open outline and the editor hold, unasked.
    void NewOutline()
    {
        Main->RichEdit->SetModified(false);
        OutlineProperties.FileChanged = 0;
        Main->bNewClick(nullptr);
    }
    // Leaves an unsaved change in the open outline.
    void Change()
    {
        Root()->SetText("Changed");
        OutlineProperties.FileChanged = 1;
    }

    TestFolder folder_;
};
