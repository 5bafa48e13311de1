#pragma once
// A fresh main window for every test, and the run's shared values put back
// around it (pages the editor refers to, the history, the recent list, the
// file name, the outline's properties and the settings records), so no test
// sees what the one before it left.

#include "Application.h"
// Before SharedState.h, whose variable OutlineProperties hides the type of
// that name from headers read after it.
#include "KbfFormat.h"
#include "Main.h"
#include "OutlineFile.h"
#include "PageHistory.h"
#include "RichEdit.h"
#include "SettingsRecords.h"
#include "SharedState.h"
#include "TreeView.h"

#include <gtest/gtest.h>

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        options_ = OptionSettings;
        user_ = UserSettings;
        ResetSharedState();
        Application.Initialize();
        // The quit an earlier test's window posted as it closed would end
        // this test's run the first time the queue runs dry.
        MSG quit{};
        while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        Application.SetTitle("Untitled - Corvane Quillo");
        Application.CreateForm<TMain>();
        OutlineProperties.FileChanged = 0;
    }
    void TearDown() override
    {
        Application.DestroyForms();
        Application.Initialize();
        ResetSharedState();
        OptionSettings = options_;
        UserSettings = user_;
    }

    TTreeView& Tree() { return *Main->Tree; }
    TTreeNode* Root() { return Tree().Items().GetFirstNode(); }
    TQRichEdit& Editor() { return *Main->RichEdit; }

private:
    static void ResetSharedState()
    {
        EditorPage = nullptr;
        LastShownPage = nullptr;
        PageClipboard = TPageClipboard{};
        ClearHistory();
        RecentFiles.Clear();
        CurrentFileName = UntitledFileName;
        ParentOutlineFile.clear();
        ResetOutlineProperties(OutlineProperties);
    }

    TOptionSettings options_;
    TUserSettings user_;
};
