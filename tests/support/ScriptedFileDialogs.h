#pragma once
// Answers the open, save and font dialogs from a script while it is alive,
// and records every dialog asked for. A dialog nobody expected fails the test
// and is cancelled, so a test can never hang on a dialog.

#include "FileDialogs.h"

#include <deque>
#include <string>
#include <vector>

class ScriptedFileDialogs {
public:
    // What a dialog was asked to show.
    struct Request {
        enum class Kind { Open, Save, Font } kind = Kind::Open;
        std::string title;
        std::string filter;
        int filterIndex = 1;
        std::string defaultExt;
        std::string initialDir;
        std::string fileName;
        TOpenOptions options = 0;
        std::string fontName;
        int fontSize = 0;
        TFontStyles fontStyle = 0;
    };

    ScriptedFileDialogs();
    ~ScriptedFileDialogs();
    ScriptedFileDialogs(const ScriptedFileDialogs&) = delete;
    ScriptedFileDialogs& operator=(const ScriptedFileDialogs&) = delete;

    // The next open or save dialog chooses this file, with this filter when
    // filterIndex is not 0.
    void Choose(const std::string& path, int filterIndex = 0);
    // The next font dialog chooses this font.
    void ChooseFont(const std::string& name, int size, TFontStyles style = 0);
    // The next dialog of any kind is cancelled.
    void Cancel();

    const std::vector<Request>& Requests() const { return requests_; }
    size_t PendingAnswers() const { return answers_.size(); }

private:
    struct Answer {
        enum class Kind { File, Font, Cancel } kind = Kind::Cancel;
        std::string path; // or the font's name
        int filterIndex = 0;
        int fontSize = 0;
        TFontStyles fontStyle = 0;
    };

    bool RespondFile(TOpenDialog& dialog);
    bool RespondFont(TFontDialog& dialog);
    bool NextAnswer(const Request& request, Answer& answer);

    std::deque<Answer> answers_;
    std::vector<Request> requests_;
};
