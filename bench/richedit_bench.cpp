// Times the page editor with big pages in a hidden window, set up as the main
// window sets up its editor (plain text, one undo step): showing a 1 MB page,
// committing it back, loading 12,000 lines through the line list, and showing
// a short page after a long one; and the first three once more on a bare rich
// edit window of Wine's with nothing of ours around it, to tell our overhead
// from the control's own time.

#include "BenchBareRichEdit.h"
#include "BenchReport.h"
#include "BenchTexts.h"
#include "Form.h"
#include "RichEdit.h"
#include "Streams.h"

#include <windows.h>
#include <richedit.h>

#include <algorithm>
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
    const std::string page = ProseOfSize(std::size_t{1} << 20);
    std::string twelveThousand;
    for (int i = 0; i < 12000; ++i)
        twelveThousand += "Line number " + std::to_string(i) + " of the long page\r\n";

    // Loads both libraries and their fonts before anything is timed; the
    // bare windows take this editor's character format.
    auto model = MakeEditor(form);
    ShowPage(*model, "warm up\r\n");
    HWND font = model->Handle();
    {
        BareRichEdit warm(form.Handle(), font);
        warm.SetText("warm up\r\n");
    }

    // Each timing is the best of three, each on a fresh window: on a busy
    // host one run may vary by a quarter either way.
    constexpr int Runs = 3;
    double bareShow = 1e9;
    double bareCommit = 1e9;
    double bareLines = 1e9;
    double show = 1e9;
    double commit = 1e9;
    double loadLines = 1e9;
    std::size_t bareBytes = 0;
    std::unique_ptr<TQRichEdit> big;
    std::unique_ptr<TQRichEdit> lines;
    TMemoryStream body;
    for (int run = 0; run < Runs; ++run) {
        {
            BareRichEdit bare(form.Handle(), font);
            auto start = BenchClock::now();
            bare.SetText(page);
            bareShow = std::min(bareShow, MillisecondsSince(start));
            start = BenchClock::now();
            bareBytes = bare.StreamOut().size();
            bareCommit = std::min(bareCommit, MillisecondsSince(start));
        }
        {
            BareRichEdit bare(form.Handle(), font);
            const auto start = BenchClock::now();
            bare.SetText(twelveThousand);
            bareLines = std::min(bareLines, MillisecondsSince(start));
        }

        big = MakeEditor(form);
        auto start = BenchClock::now();
        ShowPage(*big, page);
        show = std::min(show, MillisecondsSince(start));

        // The commit path reads the page back only when it was edited.
        big->SetModified(true);
        body.Clear();
        start = BenchClock::now();
        big->Lines().SaveToStream(body);
        commit = std::min(commit, MillisecondsSince(start));

        lines = MakeEditor(form);
        start = BenchClock::now();
        lines->Lines().SetText(twelveThousand);
        loadLines = std::min(loadLines, MillisecondsSince(start));
    }
    Report("show a 1 MB page in an empty editor", show, 200);
    Report("commit a 1 MB page (stream it out)", commit, 200);
    Report("load 12,000 lines through the line list", loadLines, 200);
    CompareWithBare("show a 1 MB page (bare: WM_SETTEXT)", show, bareShow);
    CompareWithBare("commit a 1 MB page (bare: EM_STREAMOUT)", commit, bareCommit);
    CompareWithBare("load 12,000 lines (bare: WM_SETTEXT)", loadLines, bareLines);

    auto start = BenchClock::now();
    ShowPage(*lines, "A short page\r\n");
    Report("show a short page after a 12,000-line page", MillisecondsSince(start), 200);

    start = BenchClock::now();
    big.reset();
    Report("destroy an editor holding a 1 MB page", MillisecondsSince(start), 200);

    std::printf("page bytes %zu, committed bytes %lld (bare %zu), lines left %d\n", page.size(),
                static_cast<long long>(body.Size()), bareBytes, lines->Lines().Count());
    return 0;
}
