#pragma once
// The outline's pages on the main window's page tree: every page is a node of
// Main->Tree with its own PageData record. These operations make, copy and
// show pages and refresh the commands that depend on the selected page.

#include <cstdint>
#include <string>

class TTreeNode;
struct PageData;

// A page may be made only below a page of a lower level, so the deepest
// level is 255 (256 levels); the tree holds at most this many nodes, the
// root included.
inline constexpr int MaxPageParentLevel = 255;
inline constexpr int MaxPageCount = 65535;

inline const char* const PageLevelLimitText = "Cannot create subpage! Subpages level maximum is 256.";
inline const char* const PageCountLimitText = "Cannot create page! Maximum supported pages are 65536.";

// The root page: the one page without a parent (a null page is none).
bool IsRootPage(const TTreeNode* page);
// The node's record; null for a node that has none.
PageData* PageDataOf(const TTreeNode* node);
// Gives the node a new, empty record (freeing one it had) and the page images.
void AttachNewPageData(TTreeNode* node);
// The same with the given body (CR LF line ends), taken over without a copy.
void AttachNewPageData(TTreeNode* node, std::string&& body);
// Frees the node's record and detaches it.
void FreePageData(TTreeNode* node);
// Frees every page's record as the main window goes, and forgets the pages
// that the editor, the history and the page clipboard point at.
void ReleaseAllPages();

// A new last child of the selected page (of the root when nothing is
// selected), state 1, with a new record; no limit checks, the selection stays.
TTreeNode* AddChildPage(const std::string& title);
// A new last sibling of the selected page, as AddChildPage. The root has no
// siblings: with the root (or nothing) selected nothing is made and the
// result is null.
TTreeNode* AddSiblingPage(const std::string& title);
// True when a page may be added below the selected page; otherwise shows the
// limit's message and returns false.
bool CheckPageLimits();
// The checked insert: limits, AddChildPage, select it, expand its parent one
// level, TMain::TreeClick, and the outline is marked changed. The new page,
// or null when a limit refused it.
TTreeNode* AddPageChecked(const std::string& title);

// Shows the selected page's level in the status bar and, when it is not the
// page already in the editor, loads its text, caret and selection there.
// Typing still held by the editor is first stored in the page it belongs to.
bool ShowSelectedPage();

// One node copying source's title, state and text (not its caret). Mode -1:
// the last child of target; 0: the last sibling of target; n > 0: the last
// sibling of target's n-th parent. Null when that place would be beside the
// root (or above it).
TTreeNode* CopyPageNode(TTreeNode* target, TTreeNode* source, std::int32_t mode);

// The four ways a page moves among the pages around it.
enum class TPageMove { Up, Down, Left, Right };
// Whether the page may move that way: never the root, Up and Right only with
// a page before it at its level, Down only with a page after it, Left only
// from level 2 down. The commands are enabled by it and ask it again before
// they act, so a stale command changes nothing.
bool CanMovePage(const TTreeNode* page, TPageMove move);
// Enables Move Up, Down, Left and Right (menu, toolbar and popup alike) for
// the selected page.
void UpdateMoveCommands();
// Runs the File, Edit, View and Insert menu refresh handlers, in this order.
void UpdateMenus();
