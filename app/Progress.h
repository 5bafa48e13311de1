#pragma once
// The progress of a long operation and a short busy note, both shown in
// panel 0 of the main window's status bar. They reach the window through the
// global Main.
//
// Progress displays nest: a long operation may start another one (or a timer
// may, inside a message box shown during one). The outermost BeginProgress
// keeps panel 0's width and makes the bar; inner ones show their own text on
// the same bar; each inner EndProgress brings back the text and position of
// the display it interrupted, and the outermost one removes the bar and gives
// panel 0 its width back. An EndProgress without a BeginProgress does nothing.

#include "Application.h"

#include <string>

// Panel 0's width while a progress display is shown (from the outermost
// BeginProgress to the matching EndProgress).
extern int SavedStatusWidth;

// Shows the text in panel 0 and a progress bar at position 0 behind it.
// Callers advance the bar through Main->FProgressBar (0..100, i * 100 / n).
void BeginProgress(const std::string& text);
// Ends the innermost progress display; the outermost one leaves "Ready".
void EndProgress();
// How many progress displays are open now.
int ProgressDepth();

// Shows the note with its icon, unless a note is already shown (then the
// text already shown stays).
void ShowBusyNote(const std::string& text);
// Removes the note's icon, when one is shown; the text stays for the caller
// to replace.
void HideBusyNote();

// A progress display with the hourglass, for as long as it lives: the
// display ends and the cursor shown before comes back on every path out,
// exceptions included. Displays inside it that were left open end with it.
// The keyboard and the mouse are held off meanwhile (TInputHold): what the
// person does during the work changes nothing, then or afterwards.
class TProgressScope {
public:
    explicit TProgressScope(const std::string& text);
    ~TProgressScope();
    TProgressScope(const TProgressScope&) = delete;
    TProgressScope& operator=(const TProgressScope&) = delete;

    // Moves the bar to the share of the work done, done * 100 / total.
    void SetProgress(long long done, long long total);

private:
    // First made and last gone: it holds for the whole display.
    TInputHold inputHold_;
    int previousCursor_;
    // The depth of the display this scope opened; 0 when it opened none
    // (no main window).
    int depth_ = 0;
};
