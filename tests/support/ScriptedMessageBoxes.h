#pragma once
// Answers the application's message boxes from a script while it is alive,
// and records every box shown. A box nobody expected fails the test and is
// answered with Cancel, so a test can never hang on a prompt. Outside a
// script the same holds: a box no test scripted fails the running test
// instead of waiting for a person.

#include "Application.h"

#include <deque>
#include <string>
#include <vector>

class ScriptedMessageBoxes {
public:
    ScriptedMessageBoxes();
    ~ScriptedMessageBoxes();
    ScriptedMessageBoxes(const ScriptedMessageBoxes&) = delete;
    ScriptedMessageBoxes& operator=(const ScriptedMessageBoxes&) = delete;

    // The next box shown gets this answer (IDYES, IDNO, IDOK, IDCANCEL...).
    void Answer(int result);

    const std::vector<MessageBoxRequest>& Shown() const { return shown_; }
    std::vector<std::string> Texts() const;
    size_t PendingAnswers() const { return answers_.size(); }

private:
    int Respond(const MessageBoxRequest& request);

    MessageBoxHandler previous_;
    std::deque<int> answers_;
    std::vector<MessageBoxRequest> shown_;
};
