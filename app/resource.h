// Resource names and ids of Quillo.exe; shared by Quillo.rc and the C++ code.
// The pictures are generated from app/art by scripts/make_assets.py.
#pragma once

// Image-list strips (bitmap resources by name). Load them with the mask colour
// QUILLO_IMAGE_MASK_COLOUR; every image is 16 x 16 pixels unless said.
#define QUILLO_IMAGE_MASK_COLOUR RGB(255, 0, 255)

// Toolbar and menu images, 49: 0 New, 1 Open, 2 Save, 8 Cut, 9 Copy, 10 Paste,
// 13 Move Up, 14 Move Down, 15 Move Left, 16 Move Right, 20 Up One Level,
// 21 New Sibling Page, 22 New Sub Page, 25 Hyperlink, 27 Sort, 28 Help,
// 30 Back, 31 Forward; 34 + key: the Sort button's picture for sorting by the
// state of number key + 1 (34 None, 35 Done, 36 white flag ... 48 gray flag).
// The other indexes are empty.
#define BMP_HOT_IMAGES "HotImages"
#define HOT_IMAGE_COUNT 49
#define HOT_IMAGE_SORT_BY_STATE 34

// State icons, 16: index = state icon number 1..15; 0 and 1 (none) are empty.
#define BMP_STATE_IMAGES "StateImages"
#define STATE_IMAGE_COUNT 16

// Tree page images, 6: 0 page, 1 the picture of the status-bar note (the New
// Sub Page button's), 4 selected page, 5 selected root page; 2 and 3 empty.
#define BMP_NODE_IMAGES "NodeImages"
#define NODE_IMAGE_COUNT 6

// Template list images, 2: 0 outline template, 1 page template; small
// (16 x 16) and large (32 x 32) icons.
#define BMP_TEMPLATE_IMAGES_SMALL "TemplateImages16"
#define BMP_TEMPLATE_IMAGES_LARGE "TemplateImages32"
#define TEMPLATE_IMAGE_COUNT 2

// List view style buttons, 2: 0 large icons, 1 list.
#define BMP_VIEW_IMAGES "ViewImages"
#define VIEW_IMAGE_LARGE_ICONS 0
#define VIEW_IMAGE_LIST 1

// Icons. MAINICON (16 and 32 pixels) is the program's icon: the window class,
// the notification area and the About box use it. The confirm-delete picture
// (32 pixels) has a number, so that MAINICON stays the first icon of the file.
#define ICO_MAIN "MAINICON"
#define IDI_DELETE_WARNING 201

// Cursors (32 x 32, by name). Drag cursors 1..9 of the screen cursor table:
#define CUR_DRAG_MOVE_UP "DragMoveUp"                 // 1
#define CUR_DRAG_MOVE_DOWN "DragMoveDown"             // 2
#define CUR_DRAG_ADD_CHILD "DragAddChild"             // 3
#define CUR_DRAG_MOVE_UP_COPY "DragMoveUpCopy"        // 4
#define CUR_DRAG_MOVE_DOWN_COPY "DragMoveDownCopy"    // 5
#define CUR_DRAG_ADD_CHILD_COPY "DragAddChildCopy"    // 6
#define CUR_DRAG_MOVE_OUTLINE "DragMoveOutline"       // 7
#define CUR_DRAG_TEMPLATE_UP "DragTemplateUp"         // 8
#define CUR_DRAG_TEMPLATE_CHILD "DragTemplateChild"   // 9
// Cursors 14000 (a hand, over links) and 14001 (dragging):
#define CUR_HAND "CTL_HANDCUR"
#define CUR_DRAG "CTL_DRAGCUR"
