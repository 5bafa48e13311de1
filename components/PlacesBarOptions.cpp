#include "PlacesBarOptions.h"

#include "Application.h"
#include "Exceptions.h"
#include "Registry.h"
#include "ShellFolders.h"

#include "AnsiStrings.h"

namespace {
// The options' key from the hive's root, whether or not it was written with
// the leading delimiter.
std::string RootedKey(const std::string& key)
{
    const std::string trimmed = ExcludeTrailingBackslash(key);
    return !trimmed.empty() && trimmed.front() == '\\' ? trimmed : "\\" + trimmed;
}

int ReadIntegerOr(const TRegistry& registry, const std::string& name, int fallback)
{
    try {
        return registry.ValueExists(name) ? registry.ReadInteger(name) : fallback;
    } catch (const ERegistryException&) {
        return fallback;
    }
}

bool ReadBoolOr(const TRegistry& registry, const std::string& name, bool fallback)
{
    try {
        return registry.ValueExists(name) ? registry.ReadBool(name) : fallback;
    } catch (const ERegistryException&) {
        return fallback;
    }
}

std::string ReadStringOr(const TRegistry& registry, const std::string& name)
{
    try {
        return registry.ReadString(name);
    } catch (const ERegistryException&) {
        return std::string();
    }
}

TApPlace ReadPlace(const TRegistry& registry)
{
    const TApPlace defaults;
    TApPlace place;
    place.PlaceName = ReadStringOr(registry, "Name");
    place.PlacePath = ReadStringOr(registry, "Path");
    place.PlaceRegPath = ReadStringOr(registry, "RegPath");
    place.PlaceIconDll = ReadStringOr(registry, "IconDll");
    place.PlaceIcon = ReadIntegerOr(registry, "Icon", defaults.PlaceIcon);
    place.PlaceHotIcon = ReadIntegerOr(registry, "IconHot", defaults.PlaceHotIcon);
    place.PlaceDesc = ReadStringOr(registry, "Hint");
    place.PlaceSpecPath = SpecFolderFromRegistry(
        ReadIntegerOr(registry, "SpecFolder", SpecFolderRegistryNumber(defaults.PlaceSpecPath)));
    place.AutoCaption = ReadBoolOr(registry, "AutoCaption", defaults.AutoCaption);
    return place;
}

void WritePlace(TRegistry& registry, const TApPlace& place)
{
    registry.WriteString("Name", GetPlaceName(place));
    registry.WriteString("Path", place.PlacePath);
    registry.WriteString("RegPath", place.PlaceRegPath);
    registry.WriteString("IconDll", place.PlaceIconDll);
    registry.WriteInteger("Icon", place.PlaceIcon);
    registry.WriteInteger("IconHot", place.PlaceHotIcon);
    registry.WriteString("Hint", place.PlaceDesc);
    registry.WriteInteger("SpecFolder", SpecFolderRegistryNumber(place.PlaceSpecPath));
    registry.WriteBool("AutoCaption", place.AutoCaption);
}
} // namespace

void TApPlacesBarOptions::LoadFromRegistry()
{
    if (RegistryKey.empty())
        return;
    const std::string key = RootedKey(RegistryKey);
    TRegistry registry(KEY_READ);
    if (!registry.KeyExists(key))
        return;
    if (!registry.OpenKeyReadOnly(key)) {
        Application.MessageBox(PlacesLoadFailedText, Application.Title(), MB_OK);
        return;
    }
    TApPlaces loaded;
    for (const std::string& name : OrderPlaceKeys(registry.GetKeyNames())) {
        TRegistry placeKey(KEY_READ);
        if (placeKey.OpenKeyReadOnly(key + "\\" + name))
            loaded.Add() = ReadPlace(placeKey);
    }
    places_ = std::move(loaded);
}

void TApPlacesBarOptions::SaveToRegistry() const
{
    if (RegistryKey.empty())
        return;
    const std::string key = RootedKey(RegistryKey);
    TRegistry registry;
    if (!registry.OpenKey(key, true))
        return;
    for (const std::string& name : registry.GetKeyNames())
        registry.DeleteKey(key + "\\" + name);
    for (int i = 0; i < places_.Count(); ++i) {
        TRegistry placeKey;
        if (placeKey.OpenKey(key + "\\" + PlaceKeyName(i), true))
            WritePlace(placeKey, places_.Items(i));
    }
}
