#pragma once
// Shell shortcuts (.lnk files) to a program in the user's Start Menu and on
// the desktop. Both return true only when the shortcut file was saved; an
// existing one of the same name is replaced.

#include <functional>
#include <string>

bool CreateStartMenuShortcut(const std::string& target, const std::string& shortcutName);
bool CreateDesktopShortcut(const std::string& target, const std::string& shortcutName);
// The Quick Launch bar's folder, under the user's application data (CSIDL
// 26); made when it is missing, so the shortcut is there once the bar is on.
bool CreateQuickLaunchShortcut(const std::string& target, const std::string& shortcutName);
inline const char* const QuickLaunchFolder = "Microsoft\\Internet Explorer\\Quick Launch";

// Finds a special folder by its CSIDL (11 Start Menu, 16 desktop, 26 application data) and answers
// its path, or "" when it has none. Tests send the folders to a temporary
// one; an empty function brings back the shell's answer.
using SpecialFolderHandler = std::function<std::string(int csidl)>;
void SetSpecialFolderHandler(SpecialFolderHandler handler);
