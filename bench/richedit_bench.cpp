// Times the page editor with big pages in a hidden window, set up as the main
// window sets up its editor (plain text, one undo step): showing a 1 MB page,
// committing it back, loading 12,000 lines through the line list, and showing
// a short page after a long one.

#include "Form.h"
#include "RichEdit.h"
#include "Streams.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

namespace {
class BenchForm : public TForm {
public:
    BenchForm()
    {
        CreateParams params;
        params.caption = "Rich edit benchmark";
        params.width = 600;
        params.height = 400;
        CreateHandle(params);
    }
};

// A fresh editor configured as the main window's page editor.
std::unique_ptr<TQRichEdit> MakeEditor(BenchForm& form)
{
    auto editor = std::make_unique<TQRichEdit>(&form, &form);
    editor->SetBounds(0, 0, 580, 360);
    editor->SetPlainText(true);
    editor->SetHideSelection(false);
    editor->SetUndoLimit(1);
    editor->SetWordSelection(false);
    return editor;
}

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void Report(const char* what, double milliseconds, double targetMilliseconds)
{
    std::printf("%-58s %9.1f ms  (target <= %6.0f ms)  %s\n", what, milliseconds, targetMilliseconds,
                milliseconds <= targetMilliseconds ? "PASS" : "SLOW");
    std::fflush(stdout);
}

// About a megabyte of prose in lines of varying length, as a long page holds.
std::string MegabytePage()
{
    std::string text;
    text.reserve(1 << 20);
    unsigned seed = 1;
    int line = 0;
    while (text.size() < (1u << 20)) {
        seed = seed * 1103515245u + 12345u;
        const std::size_t words = 2 + (seed >> 16) % 16;
        text += "Line " + std::to_string(++line);
        for (std::size_t w = 0; w < words; ++w)
            text += " word";
        text += "\r\n";
    }
    return text;
}

// Shows a page body as ShowSelectedPage does.
void ShowPage(TQRichEdit& editor, const std::string& body)
{
    editor.SetReadOnly(false);
    editor.Clear();
    editor.SetText(body);
    editor.SetSelStart(0);
    editor.SetSelLength(0);
    editor.SetModified(false);
}
}

int main()
{
    BenchForm form;
    const std::string page = MegabytePage();
    std::string twelveThousand;
    for (int i = 0; i < 12000; ++i)
        twelveThousand += "Line number " + std::to_string(i) + " of the long page\r\n";

    auto big = MakeEditor(form);
    auto start = Clock::now();
    ShowPage(*big, page);
    Report("show a 1 MB page in an empty editor", MillisecondsSince(start), 200);

    // The commit path reads the page back only when it was edited.
    big->SetModified(true);
    TMemoryStream body;
    start = Clock::now();
    big->Lines().SaveToStream(body);
    Report("commit a 1 MB page (stream it out)", MillisecondsSince(start), 200);

    auto lines = MakeEditor(form);
    start = Clock::now();
    lines->Lines().SetText(twelveThousand);
    Report("load 12,000 lines through the line list", MillisecondsSince(start), 200);

    start = Clock::now();
    ShowPage(*lines, "A short page\r\n");
    Report("show a short page after a 12,000-line page", MillisecondsSince(start), 200);

    start = Clock::now();
    big.reset();
    Report("destroy an editor holding a 1 MB page", MillisecondsSince(start), 200);

    std::printf("page bytes %zu, committed bytes %lld, lines left %d\n", page.size(),
                static_cast<long long>(body.Size()), lines->Lines().Count());
    return 0;
}
