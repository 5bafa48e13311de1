#include "ScriptedFileDialogs.h"

#include <gtest/gtest.h>

namespace {
const char* KindName(ScriptedFileDialogs::Request::Kind kind)
{
    switch (kind) {
    case ScriptedFileDialogs::Request::Kind::Open:
        return "open";
    case ScriptedFileDialogs::Request::Kind::Save:
        return "save";
    default:
        return "font";
    }
}
}

ScriptedFileDialogs::ScriptedFileDialogs()
{
    SetOpenDialogHandler([this](TOpenDialog& dialog) { return RespondFile(dialog); });
    SetSaveDialogHandler([this](TOpenDialog& dialog) { return RespondFile(dialog); });
    SetFontDialogHandler([this](TFontDialog& dialog) { return RespondFont(dialog); });
}

ScriptedFileDialogs::~ScriptedFileDialogs()
{
    SetOpenDialogHandler(nullptr);
    SetSaveDialogHandler(nullptr);
    SetFontDialogHandler(nullptr);
    EXPECT_TRUE(answers_.empty()) << answers_.size() << " scripted dialog answer(s) were never asked for";
}

void ScriptedFileDialogs::Choose(const std::string& path, int filterIndex)
{
    Answer answer;
    answer.kind = Answer::Kind::File;
    answer.path = path;
    answer.filterIndex = filterIndex;
    answers_.push_back(answer);
}

void ScriptedFileDialogs::ChooseFont(const std::string& name, int size, TFontStyles style)
{
    Answer answer;
    answer.kind = Answer::Kind::Font;
    answer.path = name;
    answer.fontSize = size;
    answer.fontStyle = style;
    answers_.push_back(answer);
}

void ScriptedFileDialogs::Cancel() { answers_.push_back(Answer{}); }

bool ScriptedFileDialogs::NextAnswer(const Request& request, Answer& answer)
{
    requests_.push_back(request);
    if (answers_.empty()) {
        ADD_FAILURE() << "Unexpected " << KindName(request.kind) << " dialog: \"" << request.title << "\"";
        return false;
    }
    answer = answers_.front();
    answers_.pop_front();
    return true;
}

bool ScriptedFileDialogs::RespondFile(TOpenDialog& dialog)
{
    Request request;
    request.kind = dialog.Kind() == TFileDialogKind::fdOpen ? Request::Kind::Open : Request::Kind::Save;
    request.title = dialog.Title;
    request.filter = dialog.Filter;
    request.filterIndex = dialog.FilterIndex;
    request.defaultExt = dialog.DefaultExt;
    request.initialDir = dialog.InitialDir;
    request.fileName = dialog.FileName;
    request.options = dialog.Options;
    Answer answer;
    if (!NextAnswer(request, answer) || answer.kind == Answer::Kind::Cancel)
        return false;
    if (answer.kind != Answer::Kind::File) {
        ADD_FAILURE() << "A font was scripted, but a " << KindName(request.kind) << " dialog was shown: \""
                      << request.title << "\"";
        return false;
    }
    dialog.FileName = answer.path;
    if (answer.filterIndex != 0)
        dialog.FilterIndex = answer.filterIndex;
    return true;
}

bool ScriptedFileDialogs::RespondFont(TFontDialog& dialog)
{
    Request request;
    request.kind = Request::Kind::Font;
    request.fontName = dialog.FontName;
    request.fontSize = dialog.FontSize;
    request.fontStyle = dialog.FontStyle;
    Answer answer;
    if (!NextAnswer(request, answer) || answer.kind == Answer::Kind::Cancel)
        return false;
    if (answer.kind != Answer::Kind::Font) {
        ADD_FAILURE() << "A file was scripted, but a font dialog was shown";
        return false;
    }
    dialog.FontName = answer.path;
    dialog.FontSize = answer.fontSize;
    dialog.FontStyle = answer.fontStyle;
    return true;
}
