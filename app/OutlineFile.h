#pragma once
// The whole outline and the ".kbf" file: `SaveOutline` writes the page tree
// through the portable codec, `LoadOutline` replaces the tree with a file's
// pages. The helpers are shared with the branch files.

#include "KbfFormat.h"
#include "SafeFileWriter.h"

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

class TStream;
class TTreeNode;
class TProgressScope;

// Adopt: the file becomes the open outline's (the Save commands). Copy: only
// the file is written; the current file name and the changed flag stay, for
// saving a copy elsewhere.
enum class OutlineSaveMode { Adopt, Copy };

// Writes the whole outline so that a failed save leaves the previous file
// byte-identical; shows the failure's message and returns false then.
bool SaveOutline(const std::string& path, OutlineSaveMode mode = OutlineSaveMode::Adopt);
// Replaces every page with the file's. False, with the message shown, when
// the file cannot be read or is damaged; the root always keeps a page record.
bool LoadOutline(const std::string& path);

// Whether another program or window has written the file at path since this
// window last read the outline from it or wrote the outline to it. A file
// this window has neither read nor written, and one that is gone, count as
// unchanged.
bool OutlineFileChangedElsewhere(const std::string& path);

// "Quillo is <verb> <name>: ", the status text of a long file operation.
std::string OutlineStatusText(const std::string& verb, const std::string& path);
// Writes top with its whole branch as a ".kbf" file to the stream, numbered
// from top (pages[0]); the properties are stamped first. Throws when the
// stream takes fewer bytes than given.
void WriteOutlineBranch(TStream& stream, TTreeNode* top, OutlineProperties& properties, const KbfStamp& stamp,
                        TProgressScope* progress);
// Writes the branch of top safely to path, stamped now by the user; thrown
// receives what the writing code threw.
SafeWriteResult SaveBranchFile(const std::string& path, TTreeNode* top, OutlineProperties& properties,
                               TProgressScope& progress, std::exception_ptr* thrown);
// The message of a failed save: "Cannot open output file!" when the target
// could not be created or replaced, "Error writing on disk! Disk full?" when
// the disk refused a write, and "Cannot save the file: " with what went wrong
// when the code producing the bytes failed (thrown).
std::string SaveFailureText(SafeWriteResult result, const std::exception_ptr& thrown = nullptr);
// Shows the message of a failed save.
void ShowSaveFailure(SafeWriteResult result, const std::exception_ptr& thrown);

// Suspends the page tree's redrawing while pages are added, covering it with
// Tree2 when asked, and undoes both on every way out.
class TTreeCover {
public:
    explicit TTreeCover(bool cover);
    ~TTreeCover();
    TTreeCover(const TTreeCover&) = delete;
    TTreeCover& operator=(const TTreeCover&) = delete;
    void Resume();
    void Uncover();

private:
    bool updating_ = true;
    bool covered_ = false;
};
// Reads the file; on failure shows the message and returns false with the
// result in result. A file read up to damaged page records returns true with
// result DamagedPages, so the caller can keep what was read.
bool ReadOutlineFile(const std::string& path, KbfOutline& outline, KbfReadResult& result);
// Adds pages[1..] of the outline below top, which stands for pages[0]; the
// result is the index-to-node table (top first).
std::vector<TTreeNode*> AddOutlinePages(TTreeNode* top, KbfOutline& outline, TProgressScope& progress);
// The editor holds no page any more: forget which page it showed.
void ClearEditorPage();
