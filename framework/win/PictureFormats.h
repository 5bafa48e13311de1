#pragma once
// The picture holder's registry of picture types: by file extension (with
// the description file dialogs show), by clipboard format, and by class name
// for stored pictures. A type joins with one call per way it is found.

#include "Graphics.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TStream;

using GraphicFactory = std::function<std::unique_ptr<TGraphic>()>;

struct PictureFileFormat {
    std::string extension; // without the dot, lower case
    std::string description;
    std::string className;
};

// Every registration names the class; a class registered again replaces
// what it registered before under the same extension or format.
void RegisterGraphicClass(const std::string& className, GraphicFactory factory);
void RegisterPictureFileFormat(const std::string& extension, const std::string& description,
                               const std::string& className);
void RegisterPictureClipboardFormat(UINT format, const std::string& className);
// Removes the class and everything registered for it.
void UnregisterGraphicClass(const std::string& className);

// Null when nothing is registered under the name, extension or format.
std::unique_ptr<TGraphic> CreateGraphicByClassName(const std::string& className);
std::unique_ptr<TGraphic> CreateGraphicForExtension(const std::string& extension);
std::unique_ptr<TGraphic> CreateGraphicForClipboardFormat(UINT format);
std::vector<PictureFileFormat> PictureFileFormats();
bool HasGraphicClipboardFormat(UINT format);

// A stored picture: the class name as a counted string (one length byte),
// then the class's own data (ReadData). An unknown class raises
// "Invalid picture class".
std::unique_ptr<TGraphic> ReadStoredGraphic(TStream& stream);
void WriteStoredGraphic(TStream& stream, const std::string& className, TGraphic& graphic);
