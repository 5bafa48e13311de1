#pragma once
// Quillo's main window: the page tree, the page editor, the menus, the
// toolbar and the status bar, and the handlers of every command.

#include "FileDialogs.h"
#include "Form.h"
#include "ImageList.h"
#include "Menus.h"
#include "Timer.h"
#include "TrayComp.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class ExportProfileList;
class TApSaveDialog;
struct TMainLifecycle;
struct ViewMenuChecks;
class TImage;
class TProgressBar;
class TQRichEdit;
class TSplitter;
class TStatusBar;
class TToolBar;
class TTreeNode;
class TTreeView;
enum class TDragState;
struct PageData;
enum class TPageMove;

class TMain : public TForm {
public:
    TMain();
    ~TMain() override;

    // Non-visual components.
    TImageList Images{this};
    TImageList HotImages{this};
    TImageList StateImages{this};
    TTimer Timer{this};
    TMainMenu Menu{this};
    TOpenDialog OpenDB{this};
    TOpenDialog OpenPage{this};
    TSaveDialog SaveDB{this};
    // Save Copy As, Save As Web Page and Save Page As; the options panel
    // TSaveExt is docked at its bottom. (Held by pointer: the dialog's
    // header brings the shell's names, which clash with the program's.)
    std::unique_ptr<TApSaveDialog> dlgSaveCopy;
    TTrayComp Tray{this};
    // Popup menus, found by name: PopupPage, PopupSel, PopupEdit, StatePopup,
    // PopupTray, PopupSort, PopupReopen, PopupBack, PopupForward.
    TPopupMenu* PopupMenuNamed(const std::string& name) const;

    // Controls, top to bottom and left to right.
    std::unique_ptr<TToolBar> Toolbar;
    std::unique_ptr<TTreeView> Tree;
    std::unique_ptr<TSplitter> Splitter;
    std::unique_ptr<TQRichEdit> RichEdit;
    std::unique_ptr<TQRichEdit> Rich;
    std::unique_ptr<TTreeView> Tree2;
    std::unique_ptr<TStatusBar> StatusBar;

    // Made while a long operation shows its progress or a note.
    std::unique_ptr<TProgressBar> FProgressBar;
    std::unique_ptr<TImage> FNoteImage;
    std::unique_ptr<ExportProfileList> FExportProfiles;

    // Handlers by the names the tables and events give them (CommandBinding.cpp);
    // tests may replace one. Running a name that is neither registered nor
    // listed as not built yet throws: it is a misspelt name.
    void SetHandler(const std::string& name, TNotifyEvent handler);
    bool HasHandler(const std::string& name) const;
    void RunHandler(const std::string& name, TComponent* sender);
    // Enables or disables a menu item or toolbar button by name. A command
    // whose handler is not registered stays disabled, so its shortcut goes on
    // to the focused control.
    void EnableCommand(const std::string& name, bool enabled);

    void FormCreate();
    void FormCloseQuery(bool& canClose);
    void FormClose(TCloseAction& action);
    void ShowHint();
    void mExitClick(TComponent* sender);
    void mContentsAndIndexClick(TComponent* sender);
    void mTutorialClick(TComponent* sender);
    void mShortcutsClick(TComponent* sender);
    // Options, Properties, About, the web page and the tray's Open
    // (DialogCommands.cpp).
    void mOptionsClick(TComponent* sender);
    void mAboutClick(TComponent* sender);
    void mSummeryClick(TComponent* sender);
    void mWebClick(TComponent* sender);
    void ptOpenClick(TComponent* sender);
    void TrayLButtonUp(TComponent* sender);
    void StatusBarDblClick(TComponent* sender);
    void WireDialogCommands();
    // Print and Print Page (PrintCommands.cpp).
    void mPrintKBClick(TComponent* sender);
    void ppPrintPageClick(TComponent* sender);
    void WirePrintCommands();
    // Save Copy As, Save As Web Page and Save Page As (SaveCopyCommands.cpp);
    // the save dialog's selection change keeps the panel's lists in step
    // with the file type.
    // Runs the save-copy dialog and writes the copy; pageOnly fixes the
    // items to the selected page, and afterAction is then the action after
    // saving (an index of the panel's list).
    void SaveCopyAs(bool pageOnly, int afterAction);
    void mSaveCopyAsClick(TComponent* sender);
    void mSaveAsWebPageClick(TComponent* sender);
    void ppSavePageAsClick(TComponent* sender);
    void dlgSaveCopySelectionChange(TComponent* sender);
    void WireSaveCopyCommands();

    // Page display and editing (PageEditing.cpp).
    // Refreshes commands, menus and the shown page; run after every change
    // of the selected page.
    void TreeClick();
    // The status bar's note for an outline of the root page alone, or the
    // selected page's title.
    void ShowPageStatus();
    void RichEditEnter();
    // Every change of the editor's text, undo and redo included, is an edit
    // of its page, unless the program itself is loading the editor.
    void RichEditChange();
    // Raised while the program gives the editor a page's text or empties it.
    bool EditorLoading = false;
    // Commits the editor's text to EditorPage; commands that need the
    // current text call it when the editor has the focus.
    void RichEditExit();
    // Commits typing the editor still holds, wherever the focus is, and a
    // title being edited: every path that saves, exports or asks about
    // unsaved changes runs it first, since switching to another window leaves
    // the editor without its exit.
    void CommitTyping();
    void TreeEnter();
    void TreeExit();
    void TreeEditing(TTreeNode* node, bool& allowEdit);
    void EditTitle(TTreeNode* page);
    void TreeEdited(TTreeNode* node, std::string& text);
    void TreeDeletion(TTreeNode* node);
    // The tree's clicks and selection keys (TreeMouseKeys.cpp): each records
    // the page in the history and shows it.
    void TreeMouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void TreeKeyUp(WORD& key, TShiftState shift);
    void TreeKeyDown(WORD& key, TShiftState shift);
    void TreeDblClick();
    void TreeMouseMove(TShiftState shift, int x, int y);
    // Follows a page title that is a link: another outline in this window, a
    // mail link, or anything else through the shell. PostTitleLink does it
    // once the tree's own handling of the click has returned.
    void FollowTitleLink(const std::string& title);
    void PostTitleLink(const std::string& title);
    // Drag and drop on the tree (TreeDragDrop.cpp).
    void TreeStartDrag();
    void TreeDragOver(TControl* source, int x, int y, TDragState state, bool& accept);
    void TreeDragDrop(TControl* source, int x, int y);
    // A copy of the dragged page as the last child of parent, made by Paste
    // with the page clipboard kept as it was; null when none was made.
    TTreeNode* CopyDroppedPage(TTreeNode* dragged, TTreeNode* parent);
    // Inserts the template selected in the Organize Templates list as the
    // last child of target, or just before it.
    void DropTemplate(const TControl* source, TTreeNode* target, bool asLastChild);
    // Opens the state popup beside the selected page's label.
    void OpenStatePopup();
    void mAddNewClick(TComponent* sender);
    void mAddPageClick(TComponent* sender);

    // Page tree commands (TreeCommands.cpp), the page clipboard
    // (PageClipboard.cpp) and deleting the editor's selection (EditCommands.cpp).
    void mDeleteClick(TComponent* sender);
    void mRenameClick(TComponent* sender);
    void mMoveUpClick(TComponent* sender);
    void mMoveDownClick(TComponent* sender);
    void mMoveLeftClick(TComponent* sender);
    void mMoveRightClick(TComponent* sender);
    void mExpandAllClick(TComponent* sender);
    void mCollapseAllClick(TComponent* sender);
    void mExpandAllSubPagesClick(TComponent* sender);
    void mCollapseAllSubPagesClick(TComponent* sender);
    void ppCutClick(TComponent* sender);
    void ppCopyClick(TComponent* sender);
    void ppPasteClick(TComponent* sender);
    void mClearClick(TComponent* sender);
    // The Edit commands' routing (EditCommands.cpp): the Find window's box
    // when that window is active, a title being edited, the tree, the editor.
    void mUndoClick(TComponent* sender);
    void mCutClick(TComponent* sender);
    void mCopyClick(TComponent* sender);
    void mPasteClick(TComponent* sender);
    void mSelectAllClick(TComponent* sender);
    // The editor's popup by its selection, then the menus' refresh.
    void RichEditSelectionChange(TComponent* sender);
    void RichEditMouseMove();
    // The keys and characters that change the page mark the outline changed.
    void RichEditKeyUp(WORD key);
    void RichEditKeyPress(char key);
    // Change Case (CaseDialog.cpp).
    void mCaseClick(TComponent* sender);
    // Date and Time (DatePickDialog.cpp).
    void mDateClick(TComponent* sender);
    // Symbol (SymbolDialog.cpp): the Symbol window, made once.
    void mSymbolClick(TComponent* sender);
    // Find and Find Next (FindDialog.cpp): the Find window, made once.
    void mFindClick(TComponent* sender);
    void mFindNextClick(TComponent* sender);
    // Registers the handlers above by their names.
    void WireEditCommands();
    // The window's own keys (KeyboardCommands.cpp); it never takes a key
    // from the focused control unless it did what the key would do there.
    void FormKeyDown(WORD& key, TShiftState shift);
    // Registers the handlers above by their names.
    void WireTreeCommands();

    // File commands (FileCommands.cpp).
    // Caption, tray tip and application title from the outline's title.
    void Retitle();
    void bNewClick(TComponent* sender);
    // True only when the outline was written; false when the save failed or
    // no file name was chosen for an unnamed outline.
    bool mSaveClick(TComponent* sender);
    // False when another program or window has changed the outline's file
    // since this window read or wrote it and it must stay: the user said No,
    // or an automatic save is running, which only notes it.
    bool MayReplaceOutlineFile(const std::string& path);
    void mSaveAsClick(TComponent* sender);
    void mNewWindowClick(TComponent* sender);
    // Open, Reopen, Revert and Up One Level (OpenCommands.cpp); Insert File
    // (InsertFileCommand.cpp); Send To (SendCommands.cpp).
    void mOpenClick(TComponent* sender);
    // Every Reopen item, of the menu and of the popup: opens the path its
    // caption shows.
    void m0Click(TComponent* sender);
    void mRevertClick(TComponent* sender);
    void mUpOneLevelClick(TComponent* sender);
    void mFileClick(TComponent* sender);
    void mDesktopClick(TComponent* sender);
    void m144FloppyClick(TComponent* sender);

    // View modes, toolbar and status bar (ViewCommands.cpp); page states and
    // sorting (StateAndSortCommands.cpp).
    void mNormalClick(TComponent* sender);
    void mOutlineClick(TComponent* sender);
    void mPageOnlyClick(TComponent* sender);
    void mToolbarClick(TComponent* sender);
    void mStatusBarClick(TComponent* sender);
    void mSortClick(TComponent* sender);
    void psAlphabeticallyClick(TComponent* sender);
    void psSortWholeOutlineClick(TComponent* sender);
    // Registers the handlers of the state items and the sort-by-state items,
    // which are rows of one table each, and gives each state item its image.
    void WireStateAndSortCommands();

    // New from a template and Insert From Template (TemplateCommands.cpp).
    void mNewClick(TComponent* sender);
    void mFromTemplateClick(TComponent* sender);
    // Organize Templates (OrganizeTemplatesDialog.cpp).
    void mOrganizeTemplatesClick(TComponent* sender);

    // Hyperlinks (HyperlinkCommands.cpp): inserting them into the page text
    // or as a page, editing, opening and copying a page's link title, and
    // following a link clicked in the page text.
    void mHyperlinkClick(TComponent* sender);
    void ppInsertHyperlinkClick(TComponent* sender);
    void ppEditHyperlinkClick(TComponent* sender);
    void ppOpenClick(TComponent* sender);
    void ppCopyHyperlinkClick(TComponent* sender);
    void RichEditURLClick(const std::string& link, TMouseButton button);
    // Selects, records in the history and shows the page a "file::" or
    // "file:." link names, or says that it names none.
    void FollowPageLink(const std::string& link);
    // Registers the handlers above and the editor's link click.
    void WireHyperlinkCommands();

    // Menu and toolbar state (MenuState.cpp): the File, Edit, Insert and
    // View menus' refreshes, run as each menu drops down and by UpdateMenus,
    // and the popups' refreshes, run just before each popup opens.
    void FileClick(TComponent* sender);
    void EditClick(TComponent* sender);
    void InsertClick(TComponent* sender);
    void ViewClick(TComponent* sender);
    void PopupPagePopup(TComponent* sender);
    void PopupSelPopup(TComponent* sender);
    void PopupEditPopup(TComponent* sender);
    void PopupSortPopup(TComponent* sender);
    // Paste's shortcut as the options have it: Ins or Ctrl+V.
    void ApplyPasteShortCut();

    // Back and Forward and their drop-down menus (HistoryCommands.cpp); the
    // items of a drop-down share one handler, which gets the item clicked.
    void mBackClick(TComponent* sender);
    void mForwardClick(TComponent* sender);
    void PopupBackPopup(TComponent* sender);
    void PopupForwardPopup(TComponent* sender);
    void pb0Click(TComponent* sender);
    void pf0Click(TComponent* sender);

    // Start-up and close (StartUp.cpp, SettingsApply.cpp, CloseQuery.cpp,
    // AutoSave.cpp).
    // The first activation loads the settings and puts them into effect.
    void FormActivate();
    // Puts OptionSettings into effect; also after the Options dialog.
    void ApplyOptions();
    // Writes the user settings and every option group; the export profiles go.
    void SaveSettings();
    // Opens the outline the command line or the user settings name; once.
    void OpenStartupOutline();
    // Every minute: the automatic save, when its time has come.
    void TimerTimer();
    // True while an automatic save must wait: a save, a modal dialog or a
    // long operation is running.
    bool AutoSaveBlocked() const;
    // Layout rules (WindowLayout.cpp).
    void FormResize();
    void SplitterMoved();

private:
    void StartUp();
    // Steps of FormKeyDown: the Alt+Ctrl keys, Shift+F10's popup and the
    // date and time of Alt+Ctrl+D.
    // False for a key that is none of the window's own.
    bool RunAltCtrlKey(WORD key);
    void OpenPopupFromKeyboard();
    void InsertDateAndTime();
    // Loads the start-up outline; a file that fails gives a new outline.
    bool OpenStartupFile(const std::string& path);
    void PlaceWindow();
    void KeepPlacement();
    void ApplyStatusBar();
    void ApplyView();
    void ApplyTray();
    ViewMenuChecks ViewChecks() const;
    // Writes what every close keeps: the recent list and the dialog states.
    void WriteCloseState();
    std::unique_ptr<TMainLifecycle> lifecycle_;
    // Steps of the page tree commands (TreeCommands.cpp): deleting a page
    // after the confirmation the options ask for, and moving the selected one.
    void DeletePage(TTreeNode& page);
    void MoveSelectedPage(TPageMove move);
    // Replaces the page's text with the editor's; throws, leaving both as
    // they were, when the text cannot be read out of the editor.
    void StoreEditorText(PageData& page);
    // Selects a page the history moved to and shows it; a page without a
    // title is not shown.
    void GoToHistoryPage(TTreeNode* node);

    void CreateWindowFrame();
    void LoadImages();
    void CreateMenus();
    void CreateControls();
    void CreateToolbar();
    void CreateTree();
    void CreateEditors();
    void CreateStatusBar();
    void CreateDialogs();
    void CreateTray();
    void WireHandlers();
    THandlerResolver HandlerResolver();

    std::vector<std::unique_ptr<TPopupMenu>> popupMenus_;
    std::map<std::string, TNotifyEvent> handlers_;
    // Cleared by the tree's first focus, which comes with the window's start.
    bool firstTreeEnter_ = true;
};

// The one main window; set while it exists.
extern TMain* Main;
