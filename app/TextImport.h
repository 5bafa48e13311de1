#pragma once
// A text file as a new page of the outline (page templates, dropped and
// inserted files).

#include <string>

// Makes the file's text a new sub page of the selected page, titled with the
// file name without folder and extension, within the page limits; selects
// and shows it and marks the outline changed. False, with the message shown,
// when the file cannot be read or a limit is reached; nothing changes then.
bool ImportTextFile(const std::string& path);
