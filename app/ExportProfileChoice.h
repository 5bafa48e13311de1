#pragma once
// The export profile list of the Print dialog and of the save-copy panel:
// choosing a profile makes it the current one, and "Delete..." removes it
// after asking. "Default" cannot be removed, so its button stays disabled.

#include <string>

class TButton;
class TComboBox;

// The list holds "Default" alone, the entry named like preferred (else the
// first) chosen.
void FillExportProfileList(TComboBox& list, const std::string& preferred);
// Makes the chosen profile the current one; the button is enabled for any
// profile but "Default".
void ChooseExportProfile(TComboBox& list, TButton& remove);
// Asks whether to delete the chosen profile; Yes removes it and chooses the first entry.
void RemoveChosenExportProfile(TComboBox& list, TButton& remove);
