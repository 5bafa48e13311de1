#pragma once
// The named export profiles printing, saving a copy and saving as a web page
// choose from. Each holds the settings that turn the outline into text. They
// live for the run only: no profile value is read from or written to the
// registry.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The settings of one profile; the initialisers are a fresh profile's values.
struct ExportSettings {
    // 0 titles only, 1 page text only, 2 titles and text.
    std::int32_t ExportItems = 2;
    // 0 the whole outline, 1 the selected page and its branch; the callers
    // set it before each export.
    std::int32_t ExportSource = 0;
    // Start with the outline's properties text.
    bool ExportProperties = false;
    // 0 none, 1 blanks, 2 tabs; the web page nests pages for any value but 0.
    std::int32_t ExportIndentation = 2;
    // Blanks per level with ExportIndentation 1.
    std::int32_t SpaceNumber = 2;
    // Tabs per level with ExportIndentation 2.
    std::int32_t TabNumber = 1;
    // 0 none, 1 running numbers, 2 outline numbers.
    std::int32_t ExportNumbering = 0;
    bool LineAfterTitle = true;
    bool BreakAfterTitle = false;
    bool LineAfterText = true;
    bool BreakAfterText = false;
    // Comment style around titles: 0 none, 1 to 6.
    std::int32_t ExportComments = 0;
    // The opening and closing texts of comment style 6.
    std::string OpenComment;
    std::string CloseComment;
    // Show each page's state before its title.
    bool SimulateStates = false;
};

struct ExportProfile {
    explicit ExportProfile(std::string name) : Name(std::move(name)) {}
    ExportSettings Settings;
    std::string Name;
};

inline const char* const DefaultExportProfileName = "Default";

class ExportProfileList {
public:
    // Holds one profile, "Default", with a fresh profile's settings; it is current.
    ExportProfileList();
    ExportProfileList(const ExportProfileList&) = delete;
    ExportProfileList& operator=(const ExportProfileList&) = delete;

    // The web page being written; set by the web page export while it runs.
    std::string OutputFile;
    // The running outline number of the web page export.
    std::string NumberText;

    int Count() const { return static_cast<int>(profiles_.size()); }
    // In the order they were added; index 0 is "Default".
    ExportProfile* Items(int index) const;
    ExportProfile* Default() const { return profiles_.front().get(); }

    // The profile the next export uses; never null.
    ExportProfile* Current() const { return current_; }
    // A profile of this list becomes current; anything else (none, one of
    // another list, one already removed) makes "Default" current, so no
    // export ever runs on a profile that does not exist.
    void SetCurrent(ExportProfile* profile);

    // Appends a profile with a fresh profile's settings and returns it.
    ExportProfile* Add(const std::string& name);
    bool Contains(const ExportProfile* profile) const;

private:
    friend bool RemoveExportProfile(ExportProfileList& list, ExportProfile* profile);
    std::vector<std::unique_ptr<ExportProfile>> profiles_;
    ExportProfile* current_ = nullptr;
};

// The first profile whose name equals name regardless of case (code page
// 1252 letters included), or null.
ExportProfile* FindExportProfile(const ExportProfileList& list, const std::string& name);

// Frees the profile and takes it out of the list; true when it did. A profile
// the list does not hold is left alone, and so is "Default", which the list
// always holds. When the removed profile was current, "Default" becomes current.
bool RemoveExportProfile(ExportProfileList& list, ExportProfile* profile);
