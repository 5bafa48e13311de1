#include "PictureFormats.h"

#include "Exceptions.h"
#include "Streams.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace {

struct Registry {
    std::map<std::string, GraphicFactory> classes;
    std::vector<PictureFileFormat> files;
    std::vector<std::pair<UINT, std::string>> clipboard;
};

Registry& Pictures()
{
    static Registry registry;
    return registry;
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

void RegisterGraphicClass(const std::string& className, GraphicFactory factory)
{
    Pictures().classes[className] = std::move(factory);
}

void RegisterPictureFileFormat(const std::string& extension, const std::string& description,
                               const std::string& className)
{
    auto& files = Pictures().files;
    const std::string key = Lower(extension);
    std::erase_if(files, [&](const PictureFileFormat& format) { return format.extension == key; });
    files.push_back(PictureFileFormat{key, description, className});
}

void RegisterPictureClipboardFormat(UINT format, const std::string& className)
{
    auto& clipboard = Pictures().clipboard;
    std::erase_if(clipboard, [&](const auto& entry) { return entry.first == format; });
    clipboard.emplace_back(format, className);
}

void UnregisterGraphicClass(const std::string& className)
{
    Registry& registry = Pictures();
    registry.classes.erase(className);
    std::erase_if(registry.files, [&](const PictureFileFormat& format) { return format.className == className; });
    std::erase_if(registry.clipboard, [&](const auto& entry) { return entry.second == className; });
}

std::unique_ptr<TGraphic> CreateGraphicByClassName(const std::string& className)
{
    const auto& classes = Pictures().classes;
    const auto found = classes.find(className);
    return found == classes.end() ? nullptr : found->second();
}

std::unique_ptr<TGraphic> CreateGraphicForExtension(const std::string& extension)
{
    std::string key = Lower(extension);
    if (!key.empty() && key[0] == '.')
        key.erase(0, 1);
    for (const auto& format : Pictures().files) {
        if (format.extension == key)
            return CreateGraphicByClassName(format.className);
    }
    return nullptr;
}

std::unique_ptr<TGraphic> CreateGraphicForClipboardFormat(UINT format)
{
    for (const auto& [registered, className] : Pictures().clipboard) {
        if (registered == format)
            return CreateGraphicByClassName(className);
    }
    return nullptr;
}

std::vector<PictureFileFormat> PictureFileFormats() { return Pictures().files; }

bool HasGraphicClipboardFormat(UINT format)
{
    const auto& clipboard = Pictures().clipboard;
    return std::any_of(clipboard.begin(), clipboard.end(), [&](const auto& entry) { return entry.first == format; });
}

std::unique_ptr<TGraphic> ReadStoredGraphic(TStream& stream)
{
    const std::uint8_t length = stream.ReadUInt8();
    std::string className(length, '\0');
    stream.ReadBuffer(className.data(), length);
    auto graphic = CreateGraphicByClassName(className);
    if (!graphic)
        throw EInvalidGraphic("Invalid picture class");
    graphic->ReadData(stream);
    return graphic;
}

void WriteStoredGraphic(TStream& stream, const std::string& className, TGraphic& graphic)
{
    stream.WriteUInt8(static_cast<std::uint8_t>(className.size()));
    stream.WriteBuffer(className.data(), static_cast<std::int64_t>(className.size()));
    graphic.WriteData(stream);
}
