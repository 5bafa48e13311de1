#pragma once
// The templates folder (the option TemplatesFolder): page templates are plain
// text files "<name>.txt", outline templates outline files "<name>.kbf". A
// template's name is its file name without the extension.

#include <string>
#include <vector>

enum class TemplateKind { Page, Outline };

// ".txt" or ".kbf".
const char* TemplateExtension(TemplateKind kind);
// Image index of a kind in the template lists: 1 for page templates (and
// "Blank Outline"), 0 for outline templates.
int TemplateImageIndex(TemplateKind kind);

// The names of the ordinary files of that kind in folder (no folders, hidden
// or system files), in the order the file system gives them.
std::vector<std::string> ListTemplates(const std::string& folder, TemplateKind kind);

// folder + "\" + name + the kind's extension.
std::string TemplateFileOfKind(const std::string& folder, const std::string& name, TemplateKind kind);
// The file a name stands for: the page template when it exists, else the
// outline template's path (whether it exists or not).
std::string TemplateFilePath(const std::string& folder, const std::string& name);
// The same in the folder of the option TemplatesFolder.
std::string TemplateFilePath(const std::string& name);

// A template name becomes a file name in the templates folder, so it must be
// one: not empty, not "." or "..", and without "\", "/", ":", any of *?"<>|,
// or control characters. Nothing named otherwise may be written, or a name
// could reach outside the folder.
bool IsValidTemplateName(const std::string& name);

// The changes the Organize Templates window makes to the folder. Each refuses
// (false, nothing touched) a name that IsValidTemplateName refuses, so none
// can write, rename or delete a file outside the folder.

// Copies source into the folder as name + the kind's extension, replacing a
// template of that name; a copy that fails leaves that template as it was
// and raises the stream error that says why, as a page saved as a template
// does.
bool CopyTemplateOver(const std::string& source, const std::string& folder, const std::string& name,
                      TemplateKind kind);
// Deletes the template, read-only or not.
bool DeleteTemplateFile(const std::string& folder, const std::string& name, TemplateKind kind);
// Gives the template a new name of the same kind; false when a template of
// the new name exists (it is never replaced) or the rename fails.
bool RenameTemplateFile(const std::string& folder, const std::string& oldName, const std::string& newName,
                        TemplateKind kind);
