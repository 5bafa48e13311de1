#include "FileNameList.h"

std::vector<std::string> SplitFileNameList(const std::string& text)
{
    std::vector<std::string> names;
    if (text.empty())
        return names;
    if (text.front() == '"') {
        size_t open = 0;
        while (open != std::string::npos) {
            const size_t close = text.find('"', open + 1);
            if (close == std::string::npos)
                break;
            names.push_back(text.substr(open + 1, close - open - 1));
            open = text.find('"', close + 1);
        }
    }
    if (names.empty())
        names.push_back(text);
    return names;
}

std::string JoinFileNameList(const std::vector<std::string>& names)
{
    if (names.size() == 1)
        return names.front();
    std::string text;
    for (const std::string& name : names) {
        if (!text.empty())
            text += ' ';
        text += '"' + name + '"';
    }
    return text;
}
