#pragma once
// Icons on the clipboard in a format of the program's own, and icons built
// and drawn at their real size rather than the system's icon size.

#include "Graphics.h"

#include <windows.h>

#include <memory>
#include <string_view>

inline constexpr char kIconClipboardFormatName[] = "Quillo Icon";

// Registers the icon clipboard format; called once at program start, later
// calls return the same id. 0 before the first call.
UINT RegisterIconClipboardFormat();
UINT IconClipboardFormat();
// Loads the icon from a global memory block of the icon format, as a picture
// registry hands it over; a block that cannot be locked leaves the icon as it
// was, damaged data raises "Icon image is not valid".
void LoadIconFromClipboardData(TIcon& icon, HANDLE data);

// The icon drawn at real size on the back colour as a bitmap, and its file
// image in the icon format. Raises EOutOfResources or the clipboard's error.
void CopyIconToClipboard(const TIcon& icon, TColor backColor);
// Loads the icon from the clipboard's icon format; does nothing when the
// clipboard lacks it or cannot be opened or read.
void AssignClipboardIcon(TIcon& icon);
// None when the clipboard lacks the icon format or cannot be read; data that
// cannot be loaded raises its error.
std::unique_ptr<TIcon> CreateIconFromClipboard();

// A new icon at the size of the picture that suits the screen best; the
// caller destroys it. Damaged data raises "Icon image is not valid".
HICON CreateRealSizeIcon(const TIcon& icon);
// The same from an icon's file image; `own` is the handle copied for an image
// that is not of type icon or whose picture is stored as PNG.
HICON CreateRealSizeIconFromImage(std::string_view fileImage, HICON own);
SIZE GetIconSize(HICON icon);
void DrawRealSizeIcon(TCanvas& canvas, const TIcon& icon, int x, int y);
