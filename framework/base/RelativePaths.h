#pragma once
// Paths relative to a folder, for links that keep working when an outline
// and the files it points at move together. Windows paths: folders compare
// without regard to case, and a drive is "C:" or a share "\\server\share".

#include <string>

// "C:" for "C:\a\b.txt", "\\server\share" for "\\server\share\a.txt", and ""
// for a path without a drive.
std::string ExtractFileDrive(const std::string& path);

// The path of a file as seen from a folder: a ".." for every folder to climb
// to the folders both share, then the rest of the path; a file in the folder
// itself is its bare name. A path on another drive or share, or either path
// without a drive, comes back unchanged. Doubled and trailing backslashes of
// the folder do not count.
std::string ExtractRelativePath(const std::string& baseFolder, const std::string& path);

// The absolute path a relative one names from a folder, its "." and ".."
// steps folded (never above the drive); "\x" names x at the folder's drive
// root. A path with a drive comes back unchanged.
std::string ExpandRelativePath(const std::string& baseFolder, const std::string& path);
