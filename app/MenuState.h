#pragma once
// Rules of the menu and toolbar refresh that commands share with it.

// Whether the branch on the page clipboard may be pasted on the selected
// page: not when the clipboard holds no page, nor when a cut branch would
// land inside itself (the selected page lies below the cut page); a copied
// branch may go anywhere, onto its own source too. The main menu also
// refuses while a page title is being edited, since Paste then pastes text
// into the title.
bool CanPasteBranch(bool forMainMenu);

// Enables the Edit commands for the tree's label editor: Undo, Cut, Copy,
// Delete, Paste and Select All work on the title's text; Change Case and
// Rename do not apply to it.
void EnableLabelEditCommands();
