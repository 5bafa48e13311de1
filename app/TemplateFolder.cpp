#include "TemplateFolder.h"

#include "FileSearch.h"
#include "SafeFileWriter.h"
#include "SettingsRecords.h"

#include <windows.h>

#include <cstring>

namespace {
bool IsOrdinaryFile(const WIN32_FIND_DATAA& data)
{
    return (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

// The pattern "*.txt" also finds "a.txt1" through short names; only the
// extension itself counts (in any case, as the file system compares).
bool HasExtension(const std::string& fileName, const char* extension)
{
    const size_t length = std::strlen(extension);
    return fileName.size() > length && lstrcmpiA(fileName.c_str() + fileName.size() - length, extension) == 0;
}
}

const char* TemplateExtension(TemplateKind kind) { return kind == TemplateKind::Page ? ".txt" : ".kbf"; }

int TemplateImageIndex(TemplateKind kind) { return kind == TemplateKind::Page ? 1 : 0; }

std::vector<std::string> ListTemplates(const std::string& folder, TemplateKind kind)
{
    const char* extension = TemplateExtension(kind);
    std::vector<std::string> names;
    FileSearch find(folder + "\\*" + extension);
    if (!find.Found())
        return names;
    do {
        const std::string fileName = find.Data().cFileName;
        if (IsOrdinaryFile(find.Data()) && HasExtension(fileName, extension))
            names.push_back(fileName.substr(0, fileName.size() - std::strlen(extension)));
    } while (find.Next());
    return names;
}

std::string TemplateFileOfKind(const std::string& folder, const std::string& name, TemplateKind kind)
{
    return folder + "\\" + name + TemplateExtension(kind);
}

std::string TemplateFilePath(const std::string& folder, const std::string& name)
{
    const std::string page = TemplateFileOfKind(folder, name, TemplateKind::Page);
    const DWORD attributes = GetFileAttributesA(page.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return page;
    return TemplateFileOfKind(folder, name, TemplateKind::Outline);
}

std::string TemplateFilePath(const std::string& name) { return TemplateFilePath(OptionSettings.TemplatesFolder, name); }

bool IsValidTemplateName(const std::string& name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F || std::strchr("\\/:*?\"<>|", c))
            return false;
    }
    return true;
}

bool CopyTemplateOver(const std::string& source, const std::string& folder, const std::string& name,
                      TemplateKind kind)
{
    if (!IsValidTemplateName(name))
        return false;
    const std::string target = TemplateFileOfKind(folder, name, kind);
    // A read-only template of that name gives way as it would to Remove.
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    CopyFileOrRaise(source, target);
    return true;
}

bool DeleteTemplateFile(const std::string& folder, const std::string& name, TemplateKind kind)
{
    if (!IsValidTemplateName(name))
        return false;
    const std::string path = TemplateFileOfKind(folder, name, kind);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return DeleteFileA(path.c_str()) != FALSE;
}

bool RenameTemplateFile(const std::string& folder, const std::string& oldName, const std::string& newName,
                        TemplateKind kind)
{
    if (!IsValidTemplateName(oldName) || !IsValidTemplateName(newName))
        return false;
    const std::string from = TemplateFileOfKind(folder, oldName, kind);
    const std::string to = TemplateFileOfKind(folder, newName, kind);
    return MoveFileA(from.c_str(), to.c_str()) != FALSE;
}
