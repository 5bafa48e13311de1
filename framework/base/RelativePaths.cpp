#include "RelativePaths.h"

#include "AnsiStrings.h"

#include <vector>

namespace {
// The folders and file name after the drive; empty parts (doubled or
// trailing backslashes) are left out.
std::vector<std::string> PartsAfterDrive(const std::string& path)
{
    std::vector<std::string> parts;
    size_t start = ExtractFileDrive(path).size();
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos)
            end = path.size();
        if (end > start)
            parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string Join(const std::vector<std::string>& parts, size_t from)
{
    std::string joined;
    for (size_t i = from; i < parts.size(); ++i) {
        if (!joined.empty())
            joined += '\\';
        joined += parts[i];
    }
    return joined;
}
}

std::string ExtractFileDrive(const std::string& path)
{
    if (path.size() >= 2 && path[1] == ':')
        return path.substr(0, 2);
    if (!path.starts_with("\\\\"))
        return {};
    // "\\server\share": the second backslash after the server ends it.
    const size_t server = path.find('\\', 2);
    if (server == std::string::npos)
        return path;
    const size_t share = path.find('\\', server + 1);
    return path.substr(0, share);
}

std::string ExtractRelativePath(const std::string& baseFolder, const std::string& path)
{
    const std::string drive = ExtractFileDrive(path);
    if (drive.empty() || !SameText(drive, ExtractFileDrive(baseFolder)))
        return path;
    const std::vector<std::string> base = PartsAfterDrive(baseFolder);
    const std::vector<std::string> target = PartsAfterDrive(path);
    size_t common = 0;
    while (common < base.size() && common < target.size() && SameText(base[common], target[common]))
        ++common;
    std::string relative;
    for (size_t up = common; up < base.size(); ++up)
        relative += "..\\";
    relative += Join(target, common);
    return relative;
}

std::string ExpandRelativePath(const std::string& baseFolder, const std::string& path)
{
    if (!ExtractFileDrive(path).empty())
        return path;
    const std::string drive = ExtractFileDrive(baseFolder);
    std::vector<std::string> folded = path.starts_with('\\') ? std::vector<std::string>{} : PartsAfterDrive(baseFolder);
    for (std::string& part : PartsAfterDrive(path)) {
        if (part == "..") {
            if (!folded.empty())
                folded.pop_back();
        } else if (part != ".") {
            folded.push_back(std::move(part));
        }
    }
    return drive + "\\" + Join(folded, 0);
}
