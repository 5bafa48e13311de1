#include "Main.h"

#include "ApDialogs.h"
#include "Application.h"
#include "Cursors.h"
#include "ExportProfiles.h"
#include "ExtCtrls.h"
#include "HelpTopics.h"
#include "MainLifecycle.h"
#include "MainWindowTables.h"
#include "ModelessWindows.h"
#include "PageData.h"
#include "Pages.h"
#include "PostedCalls.h"
#include "ProgramFolder.h"
#include "Progress.h"
#include "ProductNames.h"
#include "RichEdit.h"
#include "SharedState.h"
#include "Splash.h"
#include "Splitter.h"
#include "StatusBar.h"
#include "ToolBar.h"
#include "TreeView.h"
#include "WatcherHandshake.h"
#include "resource.h"

TMain* Main = nullptr;

namespace {
// The nine drag cursors, by their number in the screen's cursor table.
const char* const DragCursorNames[] = {CUR_DRAG_MOVE_UP,        CUR_DRAG_MOVE_DOWN,        CUR_DRAG_ADD_CHILD,
                                       CUR_DRAG_MOVE_UP_COPY,   CUR_DRAG_MOVE_DOWN_COPY,   CUR_DRAG_ADD_CHILD_COPY,
                                       CUR_DRAG_MOVE_OUTLINE,   CUR_DRAG_TEMPLATE_UP,      CUR_DRAG_TEMPLATE_CHILD};

HINSTANCE ProgramModule() { return GetModuleHandleA(nullptr); }
}

TMain::TMain() : lifecycle_(std::make_unique<TMainLifecycle>())
{
    Main = this;
    SetName("Main");
    CreateWindowFrame();
    LoadImages();
    CreateMenus();
    CreateControls();
    CreateDialogs();
    CreateTray();
    WireHandlers();
    OnCreate = [this] { FormCreate(); };
    OnActivate = [this] { FormActivate(); };
    Timer.OnTimer = [this](TComponent*) { TimerTimer(); };
    OnResize = [this] { FormResize(); };
    Splitter->OnMoved = [this] { SplitterMoved(); };
    DoCreate();
    // The window is made visible as the last step of its build, so its first
    // activation, which loads and applies the settings, runs before the
    // start-up steps.
    Show();
    StartUp();
}

TMain::~TMain()
{
    // Deleting the window put it into its destroying state: from here on no
    // event reaches a handler, the tree's deletion events included. The page
    // records belong to the nodes, so they are freed here, walking the nodes.
    if (Tree)
        ReleaseAllPages();
    // The application outlives this window; its hint handler must not call
    // into a freed one.
    Application.OnHint = nullptr;
    if (Main == this)
        Main = nullptr;
}

void TMain::CreateWindowFrame()
{
    CreateParams params;
    params.caption = Application.Title();
    params.position = TPosition::poScreenCenter;
    params.clientWidth = 565;
    params.clientHeight = 389;
    CreateHandle(params);
    KeyPreview = true;
    OnKeyDown = [this](WORD& key, TShiftState shift) { FormKeyDown(key, shift); };
    OnCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
    OnClose = [this](TCloseAction& action) { FormClose(action); };
}

void TMain::LoadImages()
{
    Images.AddStripResource(ProgramModule(), BMP_NODE_IMAGES, QUILLO_IMAGE_MASK_COLOUR);
    HotImages.AddStripResource(ProgramModule(), BMP_HOT_IMAGES, QUILLO_IMAGE_MASK_COLOUR);
    StateImages.AddStripResource(ProgramModule(), BMP_STATE_IMAGES, QUILLO_IMAGE_MASK_COLOUR);
}

void TMain::CreateMenus()
{
    Menu.SetName("Menu");
    Menu.Images = HotImages.Handle();
    popupMenus_ = CreatePopupMenus(this, PopupMenuNames());
    for (const auto& popup : popupMenus_)
        popup->Images = HotImages.Handle();
    PopupMenuNamed("StatePopup")->Images = StateImages.Handle();
    PopupMenuNamed("PopupSort")->Images = StateImages.Handle();
    // The state menu is opened by the tree's own code, never by a right click.
    PopupMenuNamed("StatePopup")->AutoPopup = false;
    BuildMenuItems(this, MainMenuItems(), HandlerResolver());
    BuildMenuItems(this, PopupMenuItems(), HandlerResolver());
    for (const PopupRefreshSpec& row : PopupRefreshHandlers())
        PopupMenuNamed(row.popup)->OnPopup = HandlerResolver()(row.handler);
    SetMenu(&Menu);
}

TPopupMenu* TMain::PopupMenuNamed(const std::string& name) const
{
    return dynamic_cast<TPopupMenu*>(FindComponent(name));
}

void TMain::CreateControls()
{
    CreateToolbar();
    CreateStatusBar();
    CreateTree();
    CreateEditors();
    Realign();
}

void TMain::CreateToolbar()
{
    Toolbar = std::make_unique<TToolBar>(this, this);
    Toolbar->SetName("Toolbar");
    Toolbar->SetImages(HotImages.Handle());
    Toolbar->SetHotImages(HotImages.Handle());
    BuildToolButtons(*Toolbar, ToolbarButtons(), HandlerResolver());
    Toolbar->SetHeight(26);
    Toolbar->SetAlign(TAlign::alTop);
}

void TMain::CreateTree()
{
    Tree = std::make_unique<TTreeView>(this, this);
    Tree->SetName("Tree");
    Tree->SetWidth(200);
    Tree->SetAlign(TAlign::alLeft);
    Tree->DragModeAutomatic = true;
    Tree->SetHideSelection(false);
    Tree->SetShowRoot(false);
    Tree->SetImages(Images.Handle());
    Tree->SetStateImages(StateImages.Handle());
    Tree->SetIndent(19);
    Tree->OnEnter = [this] { TreeEnter(); };
    Tree->OnExit = [this] { TreeExit(); };
    Tree->OnEditing = [this](TTreeNode* node, bool& allowEdit) { TreeEditing(node, allowEdit); };
    Tree->OnEdited = [this](TTreeNode* node, std::string& text) { TreeEdited(node, text); };
    // The edit took Rename out of the Edit menu, and F2 with it: the menu is
    // refreshed once the label editor is gone, also after Esc.
    Tree->OnEditEnded = [this](TTreeNode*) { PostCall(*Tree, [this] { RunHandler("EditClick", this); }); };
    Tree->OnDeletion = [this](TTreeNode* node) { TreeDeletion(node); };
    Tree->OnMouseDown = [this](TMouseButton button, TShiftState shift, int x, int y) {
        TreeMouseDown(button, shift, x, y);
    };
    Tree->OnKeyUp = [this](WORD& key, TShiftState shift) { TreeKeyUp(key, shift); };
    Tree->OnKeyDown = [this](WORD& key, TShiftState shift) { TreeKeyDown(key, shift); };
    Tree->OnDblClick = [this] { TreeDblClick(); };
    Tree->OnMouseMove = [this](TShiftState shift, int x, int y) { TreeMouseMove(shift, x, y); };
    Tree->OnStartDrag = [this] { TreeStartDrag(); };
    Tree->OnDragOver = [this](TControl* source, int x, int y, TDragState state, bool& accept) {
        TreeDragOver(source, x, y, state, accept);
    };
    Tree->OnDragDrop = [this](TControl* source, int x, int y) { TreeDragDrop(source, x, y); };
    TTreeNode* root = Tree->Items().AddChild(nullptr, UntitledFileName);
    root->SetData(new PageData);

    Splitter = std::make_unique<TSplitter>(this, this, TAlign::alLeft);
    Splitter->SetName("Splitter");
    Splitter->SetWidth(4);
    Splitter->MinSize = 1;

    // Covers the tree while an outline is read into it.
    Tree2 = std::make_unique<TTreeView>(this, this);
    Tree2->SetName("Tree2");
    Tree2->SetReadOnly(true);
    Tree2->SetVisible(false);
}

void TMain::CreateEditors()
{
    RichEdit = std::make_unique<TQRichEdit>(this, this);
    RichEdit->SetName("RichEdit");
    RichEdit->SetAllowObjects(false);
    RichEdit->SetAlign(TAlign::alClient);
    RichEdit->SetPlainText(true);
    RichEdit->SetHideSelection(false);
    RichEdit->SetUndoLimit(1);
    RichEdit->SetWordSelection(false);
    RichEdit->SetPopupMenu(PopupMenuNamed("PopupEdit"));
    RichEdit->OnEnter = [this] { RichEditEnter(); };
    RichEdit->OnExit = [this] { RichEditExit(); };
    RichEdit->OnChange = [this] { RichEditChange(); };
    RichEdit->OnSelectionChange = [this] { RunHandler("RichEditSelectionChange", RichEdit.get()); };
    RichEdit->OnMouseMove = [this](TShiftState, int, int) { RichEditMouseMove(); };
    RichEdit->OnKeyUp = [this](WORD& key, TShiftState) { RichEditKeyUp(key); };
    RichEdit->OnKeyPress = [this](char& key) { RichEditKeyPress(key); };

    // The hidden converter and print buffer; the user never sees it.
    Rich = std::make_unique<TQRichEdit>(this, this);
    Rich->SetName("Rich");
    Rich->SetAllowObjects(false);
    Rich->SetVisible(false);
    Rich->SetPlainText(true);
    Rich->SetUndoLimit(1);
    Rich->SetWordSelection(false);
    SetWindowLongPtrA(Rich->Handle(), GWL_STYLE, GetWindowLongPtrA(Rich->Handle(), GWL_STYLE) & ~WS_TABSTOP);
}

void TMain::CreateStatusBar()
{
    StatusBar = std::make_unique<TStatusBar>(this, this);
    StatusBar->SetName("StatusBar");
    StatusBar->SetAlign(TAlign::alBottom);
    StatusBar->AddPanel("Untitled", 400);
    StatusBar->AddPanel("Level: 0", 80);
    StatusBar->AddPanel("", 20);
}

void TMain::CreateDialogs()
{
    OpenDB.SetName("OpenDB");
    OpenDB.Title = "Open File";
    OpenDB.Filter = "All Supported Outline Files(*.kbf; *.ao; *.hjt)|*.kbf;*.ao;*.hjt|"
                    "Quillo Outline File(*.kbf)|*.kbf|Backup File(*.bak)|*.bak";
    OpenDB.Options = ofHideReadOnly | ofNoChangeDir | ofFileMustExist | ofEnableSizing;

    OpenPage.SetName("OpenPage");
    OpenPage.Title = "Insert File";
    OpenPage.DefaultExt = "txt";
    OpenPage.Filter = "Any Supported File Types(*.txt; *.rtf;*.kbf)|*.txt; *.rtf; *.kbf;|"
                      "Text File(*.txt)|*.txt|Rich Text Format File(*.rtf)|*.rtf|"
                      "Quillo Knowledge Base Format(*.kbf)|*.kbf|Any File(*.*)|*.*";
    OpenPage.Options = ofHideReadOnly | ofFileMustExist | ofEnableSizing;

    SaveDB.SetName("SaveDB");
    SaveDB.Title = "Save File As";
    SaveDB.DefaultExt = "kbf";
    SaveDB.Filter = "Quillo Outline(*.kbf)|*.kbf|Any File(*.*)|*.*";
    SaveDB.Options = ofOverwritePrompt | ofHideReadOnly | ofEnableSizing;

    dlgSaveCopy = std::make_unique<TApSaveDialog>(this);
    dlgSaveCopy->SetName("dlgSaveCopy");
    // The save-copy routine asks before overwriting, in its own words.
    dlgSaveCopy->Options = ofHideReadOnly | ofEnableSizing;
    // Found among the application's forms by its class, TSaveExt.
    dlgSaveCopy->CustDlgParams.BottomFormName = "SaveExt";
    dlgSaveCopy->OnSelectionChange = [this] { RunHandler("dlgSaveCopySelectionChange", dlgSaveCopy.get()); };

    Timer.SetName("Timer");
    Timer.SetInterval(60000);
    Timer.SetEnabled(true);
}

void TMain::CreateTray()
{
    Tray.SetName("Tray");
    Tray.PopupMenu = PopupMenuNamed("PopupTray");
    Tray.SetHide(true);
    Tray.RestoreOn = arLeftClickUp;
    Tray.PopupMenuOn = arRightClickUp;
    Tray.OnLButtonUp = [this](TComponent* sender) { RunHandler("TrayLButtonUp", sender); };
    Tray.Loaded();
}

void TMain::WireHandlers()
{
    SetHandler("mExitClick", [this](TComponent* sender) { mExitClick(sender); });
    SetHandler("mContentsAndIndexClick", [this](TComponent* sender) { mContentsAndIndexClick(sender); });
    SetHandler("mTutorialClick", [this](TComponent* sender) { mTutorialClick(sender); });
    SetHandler("mShortcutsClick", [this](TComponent* sender) { mShortcutsClick(sender); });
    SetHandler("mAddNewClick", [this](TComponent* sender) { mAddNewClick(sender); });
    SetHandler("mAddPageClick", [this](TComponent* sender) { mAddPageClick(sender); });
    WireTreeCommands();
    WireEditCommands();
    WireDialogCommands();
    WirePrintCommands();
    WireSaveCopyCommands();
    SetHandler("bNewClick", [this](TComponent* sender) { bNewClick(sender); });
    SetHandler("mSaveClick", [this](TComponent* sender) { mSaveClick(sender); });
    SetHandler("mSaveAsClick", [this](TComponent* sender) { mSaveAsClick(sender); });
    SetHandler("mOpenClick", [this](TComponent* sender) { mOpenClick(sender); });
    for (const char* reopen : {"m0Click", "m1Click", "m2Click", "m3Click", "m4Click", "m5Click", "m6Click", "m7Click"})
        SetHandler(reopen, [this](TComponent* sender) { m0Click(sender); });
    SetHandler("mRevertClick", [this](TComponent* sender) { mRevertClick(sender); });
    SetHandler("mUpOneLevelClick", [this](TComponent* sender) { mUpOneLevelClick(sender); });
    SetHandler("mFileClick", [this](TComponent* sender) { mFileClick(sender); });
    SetHandler("mDesktopClick", [this](TComponent* sender) { mDesktopClick(sender); });
    SetHandler("m144FloppyClick", [this](TComponent* sender) { m144FloppyClick(sender); });
    SetHandler("mNewWindowClick", [this](TComponent* sender) { mNewWindowClick(sender); });

    SetHandler("mNormalClick", [this](TComponent* sender) { mNormalClick(sender); });
    SetHandler("mOutlineClick", [this](TComponent* sender) { mOutlineClick(sender); });
    SetHandler("mPageOnlyClick", [this](TComponent* sender) { mPageOnlyClick(sender); });
    SetHandler("mToolbarClick", [this](TComponent* sender) { mToolbarClick(sender); });
    SetHandler("mStatusBarClick", [this](TComponent* sender) { mStatusBarClick(sender); });
    SetHandler("mSortClick", [this](TComponent* sender) { mSortClick(sender); });
    SetHandler("psAlphabeticallyClick", [this](TComponent* sender) { psAlphabeticallyClick(sender); });
    SetHandler("psSortWholeOutlineClick", [this](TComponent* sender) { psSortWholeOutlineClick(sender); });
    WireStateAndSortCommands();

    SetHandler("mNewClick", [this](TComponent* sender) { mNewClick(sender); });
    SetHandler("mFromTemplateClick", [this](TComponent* sender) { mFromTemplateClick(sender); });
    SetHandler("mOrganizeTemplatesClick", [this](TComponent* sender) { mOrganizeTemplatesClick(sender); });

    SetHandler("FileClick", [this](TComponent* sender) { FileClick(sender); });
    SetHandler("EditClick", [this](TComponent* sender) { EditClick(sender); });
    SetHandler("InsertClick", [this](TComponent* sender) { InsertClick(sender); });
    SetHandler("ViewClick", [this](TComponent* sender) { ViewClick(sender); });
    SetHandler("PopupPagePopup", [this](TComponent* sender) { PopupPagePopup(sender); });
    SetHandler("PopupSelPopup", [this](TComponent* sender) { PopupSelPopup(sender); });
    SetHandler("PopupEditPopup", [this](TComponent* sender) { PopupEditPopup(sender); });
    SetHandler("PopupSortPopup", [this](TComponent* sender) { PopupSortPopup(sender); });

    SetHandler("mBackClick", [this](TComponent* sender) { mBackClick(sender); });
    SetHandler("mForwardClick", [this](TComponent* sender) { mForwardClick(sender); });
    SetHandler("PopupBackPopup", [this](TComponent* sender) { PopupBackPopup(sender); });
    SetHandler("PopupForwardPopup", [this](TComponent* sender) { PopupForwardPopup(sender); });
    SetHandler("pb0Click", [this](TComponent* sender) { pb0Click(sender); });
    SetHandler("pf0Click", [this](TComponent* sender) { pf0Click(sender); });
    WireHyperlinkCommands();
}

void TMain::FormCreate()
{
    Application.OnHint = [this] { ShowHint(); };
    for (int number = 1; number <= 9; ++number)
        SetScreenCursor(number, LoadCursorA(ProgramModule(), DragCursorNames[number - 1]));
}

void TMain::ShowHint()
{
    HideBusyNote();
    StatusBar->Panel(0).SetText(Application.Hint());
}

void TMain::mExitClick(TComponent*) { Close(); }

void TMain::mContentsAndIndexClick(TComponent*) { ShowHelpContents(Application.HelpFile()); }

void TMain::mTutorialClick(TComponent*) { ShowHelpTopic(TutorialHelpAddress(Application.HelpFile())); }

void TMain::mShortcutsClick(TComponent*) { ShowHelpTopic(HelpTopicAddress(Application.HelpFile(), "shortcuts")); }

void TMain::FormClose(TCloseAction& /*action*/)
{
    // Nothing saves, exports or prints once the close has begun: at the end
    // of a session the process may be ended at any moment from here on.
    Timer.SetEnabled(false);
    FExportProfiles.reset();
    // Its position and filter are stored at its close, so it closes before
    // the dialog states are written.
    if (OrganizeTemplates && OrganizeTemplates->Visible())
        OrganizeTemplates->Close();
    WriteCloseState();
    // The watcher finds this window by its title and holds its closing window
    // until the window is gone, so the title changes before it starts.
    Application.SetTitle(ClosingTitle);
    SetCaption(Application.Title());
    // When the session ends the system ends the process itself; no closing
    // window is needed, and none should outlive the session.
    if (!SessionEnding())
        StartWatcher();
    FreeModelessWindows();
}
