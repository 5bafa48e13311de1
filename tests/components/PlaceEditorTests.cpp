// The place editor: what OK stores for each kind of target, and how it
// copes with icon libraries that are missing or smaller than expected.
#include "PlaceEditorForm.h"
#include "ScriptedMessageBoxes.h"
#include "ShellFolders.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <memory>

namespace {
struct Editor {
    Editor()
    {
        form->SetPlaces(&places);
    }
    std::unique_ptr<TApAddPlaceFrm> form = std::make_unique<TApAddPlaceFrm>();
    TApPlaces places;
};
} // namespace

TEST(PlaceEditor, OkStoresTheTargetOfItsTypeAndClearsTheOthers)
{
    struct Case {
        int type;
        std::string path; // typed, or the folder list's position for type 1
        TApSpecShellFolder folder;
        std::string placePath, regPath;
    } cases[] = {
        {TApAddPlaceFrm::ttPath, "C:\\Docs", TApSpecShellFolder::ftNone, "C:\\Docs", ""},
        {TApAddPlaceFrm::ttShellFolder, "2", TApSpecShellFolder::ftPersonal, "", ""},
        {TApAddPlaceFrm::ttRegistryValue, "\\Software\\X\\Docs", TApSpecShellFolder::ftNone, "", "\\Software\\X\\Docs"},
    };
    for (const Case& c : cases) {
        Editor editor;
        TApPlace& old = editor.places.Add();
        old.PlacePath = "old path";
        old.PlaceRegPath = "old spec";
        old.PlaceSpecPath = TApSpecShellFolder::ftDesktop;
        old.PlaceIconDll = "shell32.dll";
        editor.form->SetPlace(&old);
        editor.form->InitControls();
        EXPECT_EQ(editor.form->ePath().Style(), TComboBoxStyle::csDropDownList);

        editor.form->cbTargetType.UserSelect(c.type);
        if (c.type == TApAddPlaceFrm::ttShellFolder)
            editor.form->ePath().SetItemIndex(std::stoi(c.path));
        else
            editor.form->ePath().SetText(c.path);
        editor.form->eShort.SetText("Caption");
        editor.form->eHint.SetText("Hint");
        editor.form->Button1.Click();

        EXPECT_EQ(editor.form->ModalResult, mrOk);
        ASSERT_EQ(editor.places.Count(), 1);
        EXPECT_EQ(old.PlaceSpecPath, c.folder) << c.type;
        EXPECT_EQ(old.PlacePath, c.placePath) << c.type;
        EXPECT_EQ(old.PlaceRegPath, c.regPath) << c.type;
        EXPECT_EQ(old.PlaceName, "Caption");
        EXPECT_EQ(old.PlaceDesc, "Hint");
    }
}

TEST(PlaceEditor, AutoCaptionGreysTheCaptionWhichOkStillStores)
{
    Editor editor;
    editor.form->eShort.SetText("Kept");
    editor.form->ePath().SetText("C:\\Docs");
    editor.form->chkAutoCap.SetChecked(true);
    EXPECT_FALSE(editor.form->eShort.Enabled());
    editor.form->Button1.Click();
    ASSERT_EQ(editor.places.Count(), 1);
    EXPECT_EQ(editor.places.Items(0).PlaceName, "Kept");
    EXPECT_TRUE(editor.places.Items(0).AutoCaption);
    EXPECT_EQ(GetPlaceName(editor.places.Items(0)), "Docs");
    editor.form->chkAutoCap.SetChecked(false);
    EXPECT_TRUE(editor.form->eShort.Enabled());
}

TEST(PlaceEditor, AShellFolderPlaceShowsItsNameInAListThatTakesNoTyping)
{
    Editor editor;
    TApPlace& place = editor.places.Add();
    place.PlaceSpecPath = TApSpecShellFolder::ftDrives;
    place.AutoCaption = true;
    place.PlaceIconDll = "shell32.dll";
    editor.form->SetPlace(&place);
    editor.form->InitControls();
    editor.form->FormShow();

    EXPECT_EQ(editor.form->Caption(), "Places Bar item");
    EXPECT_EQ(editor.form->cbTargetType.ItemIndex(), TApAddPlaceFrm::ttShellFolder);
    TComboBox& path = editor.form->ePath();
    EXPECT_EQ(path.Style(), TComboBoxStyle::csDropDownList);
    EXPECT_EQ(path.Items().Count(), 4);
    EXPECT_EQ(path.Text(), "My Computer");
    EXPECT_EQ(editor.form->eShort.Text(), "My Computer");
    EXPECT_FALSE(editor.form->eShort.Enabled());

    // Back to a path: a box to type in, in the same place of the tab order.
    editor.form->cbTargetType.UserSelect(TApAddPlaceFrm::ttPath);
    EXPECT_EQ(editor.form->ePath().Style(), TComboBoxStyle::csDropDown);
    EXPECT_EQ(GetWindow(editor.form->Label1.Handle(), GW_HWNDNEXT), editor.form->ePath().Handle());
}

TEST(PlaceEditor, OkOnAShellFolderWithNoneChosenKeepsTheFormOpen)
{
    Editor editor;
    editor.form->Show();
    editor.form->cbTargetType.UserSelect(TApAddPlaceFrm::ttShellFolder);
    EXPECT_EQ(editor.form->ePath().ItemIndex(), -1);
    editor.form->Button1.Click();
    EXPECT_EQ(editor.form->ModalResult, mrNone);
    EXPECT_EQ(editor.places.Count(), 0);
    EXPECT_TRUE(editor.form->ePath().Focused());
}

TEST(PlaceEditor, IconLibrariesFillTheGridsOrSayTheyHaveNoIcons)
{
    Editor editor;
    TestFolder folder;
    ScriptedMessageBoxes boxes;
    editor.form->eIconLib.SetText("shell32.dll");
    editor.form->btnShowIconsClick();
    EXPECT_EQ(editor.form->dg1.ColCount(), 184);
    EXPECT_EQ(editor.form->dg2.ColCount(), 184);
    EXPECT_EQ(editor.form->IconLibrary(), "shell32.dll");

    // Missing (the system answers -1) and a file without icons.
    WriteFileBytes(folder / "plain.txt", "no icons");
    for (const std::string& library : {folder / "missing.dll", folder / "plain.txt"}) {
        boxes.Answer(IDOK);
        editor.form->eIconLib.SetText(library);
        editor.form->btnShowIconsClick();
        EXPECT_EQ(editor.form->dg1.ColCount(), 0) << library;
        EXPECT_EQ(editor.form->dg2.ColCount(), 0) << library;
        EXPECT_EQ(editor.form->IconLibrary(), "");
    }
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[0].text, "No icons were found in the file");
    EXPECT_EQ(boxes.Shown()[0].caption, "New place - Icon library");
    EXPECT_EQ(boxes.Shown()[0].flags & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
}

TEST(PlaceEditor, StoredIconsOutsideTheLibrarySelectNothingAndStayAsTheyWere)
{
    Editor editor;
    TApPlace& place = editor.places.Add();
    place.PlacePath = "C:\\Docs";
    place.PlaceIconDll = "shell32.dll";
    place.PlaceIcon = 1000;
    place.PlaceHotIcon = 150;
    editor.form->SetPlace(&place);
    editor.form->InitControls();
    EXPECT_EQ(editor.form->dg1.Col(), -1);
    EXPECT_EQ(editor.form->dg2.Col(), 150);
    EXPECT_GT(editor.form->dg2.LeftCol(), 0);

    editor.form->dg2.UserSelectCell(7, 0);
    editor.form->Button1.Click();
    EXPECT_EQ(place.PlaceIcon, 1000);
    EXPECT_EQ(place.PlaceHotIcon, 7);
}

TEST(PlaceEditor, ADroppedFolderIsPresetWithFolderIcons)
{
    Editor editor;
    TestFolder folder;
    const std::string docs = folder / "Docs";
    ASSERT_TRUE(CreateDirectoryA(docs.c_str(), nullptr));
    WriteFileBytes(folder / "a.txt", "a");

    editor.form->PresetForDrop(docs);
    editor.form->FormShow();
    EXPECT_EQ(editor.form->Caption(), "New Places Bar item");
    EXPECT_EQ(editor.form->ePath().Text(), docs);
    EXPECT_EQ(editor.form->eShort.Text(), "Docs");
    EXPECT_EQ(editor.form->eHint.Text(), "Docs");
    EXPECT_EQ(editor.form->eIconLib.Text(), "Shell32.dll");
    EXPECT_EQ(editor.form->dg1.Col(), 3);
    EXPECT_EQ(editor.form->dg2.Col(), 4);

    editor.form->PresetForDrop(folder / "a.txt");
    EXPECT_EQ(editor.form->dg1.Col(), 0);
    EXPECT_EQ(editor.form->dg2.Col(), 0);
}

TEST(PlaceEditor, TheHintsReadAsDesigned)
{
    Editor editor;
    EXPECT_EQ(editor.form->dg1.Hint, "Select icon wich will be displayed when this place is not selected");
    EXPECT_EQ(editor.form->dg2.Hint,
              "Select icon to represent this place when it is selected on the places bar");
    EXPECT_EQ(editor.form->cbTargetType.Items().Count(), 3);
    EXPECT_EQ(editor.form->ActiveControl(), &editor.form->eShort);
    EXPECT_EQ(editor.form->ClientWidth(), 394);
    EXPECT_EQ(editor.form->ClientHeight(), 319);
}
