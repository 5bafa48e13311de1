#pragma once
// The properties of the open outline: what the properties window shows and
// what travels in the ".kbf" file's properties block.

#include <cstdint>
#include <string>

struct OutlineProperties {
    // Created is "now" in the "d mmmm yyyy t" date-time format.
    OutlineProperties();

    std::string Subject;
    std::string Description;
    std::string Created;
    std::string Modified;
    std::string SavedBy;
    // Display only: set by the properties window, never stored in the file.
    std::string Path;
    // The outline-modified flag: set by editing commands, cleared by load and
    // save; never stored in the file.
    std::uint8_t FileChanged = 0;
    // Number of saves.
    std::int32_t Revisions = 0;
};

// What the writer stamps into the record each time it writes a properties
// block. The caller supplies the clock's text and the user's name, so the
// codec does not reach the settings and tests can fix both.
struct KbfStamp {
    std::string DateText; // the current date as "d mmmm yyyy t"
    std::string UserName;
};

// Puts the construction defaults back in place (a new outline).
void ResetOutlineProperties(OutlineProperties& properties);
// Copies the six strings and Revisions; FileChanged stays as it is in the
// destination, because it belongs to the open outline, not to the record.
void CopyOutlineProperties(OutlineProperties& destination, const OutlineProperties& source);
// Modified := date text, SavedBy := user name, Revisions + 1.
void StampOutlineProperties(OutlineProperties& properties, const KbfStamp& stamp);
