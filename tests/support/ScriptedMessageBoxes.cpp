#include "ScriptedMessageBoxes.h"

#include <gtest/gtest.h>

namespace {
int RefuseUnscriptedBox(const MessageBoxRequest& request)
{
    ADD_FAILURE() << "Message box outside a script: \"" << request.text << "\" (" << request.caption << ")";
    return IDCANCEL;
}

class NoUnscriptedBoxes : public ::testing::Environment {
public:
    void SetUp() override { Application.SetMessageBoxHandler(RefuseUnscriptedBox); }
};

const auto* const noUnscriptedBoxes = ::testing::AddGlobalTestEnvironment(new NoUnscriptedBoxes);
}

ScriptedMessageBoxes::ScriptedMessageBoxes() : previous_(Application.GetMessageBoxHandler())
{
    Application.SetMessageBoxHandler([this](const MessageBoxRequest& request) { return Respond(request); });
}

ScriptedMessageBoxes::~ScriptedMessageBoxes()
{
    Application.SetMessageBoxHandler(previous_);
    EXPECT_TRUE(answers_.empty()) << answers_.size() << " scripted answer(s) were never asked for";
}

void ScriptedMessageBoxes::Answer(int result) { answers_.push_back(result); }

std::vector<std::string> ScriptedMessageBoxes::Texts() const
{
    std::vector<std::string> texts;
    for (const auto& request : shown_)
        texts.push_back(request.text);
    return texts;
}

int ScriptedMessageBoxes::Respond(const MessageBoxRequest& request)
{
    shown_.push_back(request);
    if (answers_.empty()) {
        ADD_FAILURE() << "Unexpected message box: \"" << request.text << "\" (" << request.caption << ")";
        return IDCANCEL;
    }
    const int answer = answers_.front();
    answers_.pop_front();
    return answer;
}
