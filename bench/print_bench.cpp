// Times printing from the main window onto metafile pages, the printer the
// tests read back: File > Print > Whole Outline over generated outlines of
// 1,000, 3,000 and 20,000 pages, and Print Page of one page of 13,000 lines.
// Beside them, a bare rich edit window takes the same text in the same font
// and indents and prints it through the control's own page layout (which
// under Wine draws nothing), to tell our time from the control's. Its time
// grows with the square of the text's tabs, of which the text export is
// full (2,000 pages: 85 s), so by default it runs beside the smaller cases
// only.
//
// print_bench [all] [check] [PAGES...]: "all" runs the bare control beside
// every case; "check" also prints each outline as the whole text put into
// the converter at once and says whether the pages drawn are the same;
// PAGES are outline sizes instead of the default ones.

#include "BenchBareRichEdit.h"
#include "BenchMainWindow.h"
#include "BenchReport.h"
#include "ControlFont.h"
#include "EmfPrinter.h"
#include "ExportProfiles.h"
#include "Main.h"
#include "OutlineFile.h"
#include "PrintDialog.h"
#include "RichEdit.h"
#include "SettingsRecords.h"
#include "TreeView.h"
#include "WindowExports.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {
constexpr int PrintFontSize = 10;
constexpr int FirstIndentTwips = 40 * 20;
constexpr int RightIndentTwips = 30 * 20;

// Pages four levels deep, each with a title and two lines of text, so that a
// sheet holds about fifteen of them, as a real outline's short notes do.
KbfOutline GeneratedOutline(int pageCount)
{
    KbfOutline outline;
    outline.pages.resize(static_cast<std::size_t>(pageCount));
    outline.pages[0].title = "Printed outline";
    outline.pages[0].expand = KbfExpanded;
    for (int i = 1; i < pageCount; ++i) {
        KbfPage& page = outline.pages[static_cast<std::size_t>(i)];
        const int level = i % 4;
        page.parent = level == 0 ? 0 : i - 1;
        page.title = "Page " + std::to_string(i);
        page.body = "A note of some words that fills most of a printed line, as notes do.\r\n"
                    "Its second line is shorter.\r\n";
    }
    return outline;
}

// The root and one page holding the given text.
KbfOutline OnePageOutline(const std::string& body)
{
    KbfOutline outline;
    outline.pages.resize(2);
    outline.pages[0].title = "Long page";
    outline.pages[0].expand = KbfExpanded;
    outline.pages[1].parent = 0;
    outline.pages[1].title = "Thirteen thousand lines";
    outline.pages[1].body = body;
    return outline;
}

bool LoadBenchOutline(KbfOutline outline, int pageCount)
{
    const std::string path = BenchTempPath("quillo-print-bench.kbf");
    WriteBenchOutline(path, outline);
    const bool loaded = LoadOutline(path) && Main->Tree->Items().Count() == pageCount;
    DeleteFileA(path.c_str());
    if (!loaded)
        std::printf("  the outline of %d pages did not load\n", pageCount);
    return loaded;
}

// A metafile printer for the length of one print, with room for any job.
class BenchPrinter {
public:
    BenchPrinter() : installed_(MakePrinter()) {}
    TEmfPrinter& Printer() const { return *printer_; }
    std::size_t DrawnTexts() const
    {
        std::size_t count = 0;
        for (const auto& page : printer_->Pages)
            count += page.texts.size();
        return count;
    }

private:
    std::unique_ptr<TPrinter> MakePrinter()
    {
        auto printer = std::make_unique<TEmfPrinter>();
        printer->MostPages = 1 << 30;
        printer_ = printer.get();
        return printer;
    }

    TEmfPrinter* printer_ = nullptr;
    TInstalledPrinter installed_;
};

struct PrintResult {
    double milliseconds = 0;
    std::size_t sheets = 0;
    std::size_t drawn = 0;
    std::vector<TEmfPrinter::Page> pages;
};

// File > Print with the dialog answered as a person would: Whole Outline, Print.
PrintResult PrintWholeOutline()
{
    BenchPrinter printer;
    TForm::ModalShownHook = [](TForm& form) {
        if (auto* dialog = dynamic_cast<TPrintKB*>(&form)) {
            dialog->ItemsE.UserSelect(TPrintKB::WholeOutline);
            dialog->Button1.Click();
        }
    };
    const auto start = BenchClock::now();
    Main->RunHandler("mPrintKBClick", nullptr);
    const double elapsed = MillisecondsSince(start);
    TForm::ModalShownHook = nullptr;
    return {elapsed, printer.Printer().Pages.size(), printer.DrawnTexts(), printer.Printer().Pages};
}

PrintResult PrintSelectedPage()
{
    BenchPrinter printer;
    const auto start = BenchClock::now();
    Main->RunHandler("ppPrintPageClick", nullptr);
    return {MillisecondsSince(start), printer.Printer().Pages.size(), printer.DrawnTexts(), {}};
}

// The bare control as the program's converter is: hidden, at its size, in
// the print font, the indents on every paragraph, then its own page loop.
PrintResult PrintBare(const std::string& text)
{
    BenchPrinter printer;
    // A control of ours in the print font, as the converter is when it prints.
    TQRichEdit model(Main, Main);
    model.SetVisible(false);
    TControlFont font;
    font.Apply(model, OptionSettings.PrintFontFace, OptionSettings.PrintFontSize);
    const auto start = BenchClock::now();
    {
        BareRichEdit bare(Main->Handle(), model.Handle(), RECT{0, 0, 185, 89}, false);
        bare.SetText(text);
        bare.SetIndents(FirstIndentTwips, RightIndentTwips);
        TEmfPrinter& emf = printer.Printer();
        emf.BeginDoc();
        FORMATRANGE range{};
        range.hdc = range.hdcTarget = emf.Handle();
        range.rc = range.rcPage = RECT{0, 0, MulDiv(emf.PageWidth(), 1440, emf.PixelsPerInchX()),
                                       MulDiv(emf.PageHeight(), 1440, emf.PixelsPerInchY())};
        range.chrg = CHARRANGE{0, -1};
        const auto length = static_cast<LRESULT>(SendMessageA(bare.Handle(), WM_GETTEXTLENGTH, 0, 0));
        while (true) {
            range.hdc = range.hdcTarget = emf.Handle();
            const LRESULT next = SendMessageA(bare.Handle(), EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
            if (next <= range.chrg.cpMin || next >= length)
                break;
            emf.NewPage();
            range.chrg.cpMin = static_cast<LONG>(next);
        }
        SendMessageA(bare.Handle(), EM_FORMATRANGE, FALSE, 0);
        emf.EndDoc();
    }
    const double elapsed = MillisecondsSince(start);
    return {elapsed, printer.Printer().Pages.size(), printer.DrawnTexts(), {}};
}

// What the command line asks for.
struct Options {
    bool bareEverywhere = false;
    bool check = false;
    std::vector<int> pageCounts{1000, 3000, 20000};
};

// Below this the bare control prints in seconds; beyond it, in minutes.
constexpr int BareOutlineLimit = 1000;

void ReportPrint(const char* what, const PrintResult& ours, const PrintResult* bare, std::size_t lines,
                 double target)
{
    std::printf("  %zu text lines: %zu sheets, %zu lines drawn\n", lines, ours.sheets, ours.drawn);
    if (bare)
        CompareWithBare(what, ours.milliseconds, bare->milliseconds);
    else
        std::printf("  %-44s bare control not run (\"all\" runs it)\n", what);
    Report(what, ours.milliseconds, target);
}

std::size_t LineCount(const std::string& text)
{
    std::size_t lines = 0;
    for (char c : text)
        lines += c == '\n';
    return lines;
}

// The pages as printing the whole text put into the converter at once draws
// them: the same font, indents and title as the print command's.
std::vector<TEmfPrinter::Page> PrintedAtOnce(const std::string& text)
{
    BenchPrinter printer;
    TQRichEdit& rich = *Main->Rich;
    TControlFont font;
    font.Apply(rich, OptionSettings.PrintFontFace, OptionSettings.PrintFontSize);
    rich.SetText(text);
    rich.SelectAll();
    {
        TParaUpdate update(rich.ParaAttributes());
        rich.ParaAttributes().SetFirstIndent(FirstIndentTwips / 20);
        rich.ParaAttributes().SetRightIndent(RightIndentTwips / 20);
    }
    rich.Print(text.substr(0, text.find_first_of("\r\n")));
    rich.Clear();
    return printer.Printer().Pages;
}

bool SamePages(const std::vector<TEmfPrinter::Page>& left, const std::vector<TEmfPrinter::Page>& right)
{
    auto sameText = [](const TEmfPrinter::DrawnText& a, const TEmfPrinter::DrawnText& b) {
        return a.text == b.text && a.x == b.x && a.y == b.y && a.face == b.face && a.height == b.height;
    };
    return std::equal(left.begin(), left.end(), right.begin(), right.end(), [&](const auto& a, const auto& b) {
        return std::equal(a.texts.begin(), a.texts.end(), b.texts.begin(), b.texts.end(), sameText);
    });
}

void TimeWholeOutline(int pageCount, const Options& options)
{
    if (!LoadBenchOutline(GeneratedOutline(pageCount), pageCount))
        return;
    const std::string text = ExportWindowOutlineText(*Main->FExportProfiles->Current()).GetText();
    const PrintResult ours = PrintWholeOutline();
    std::optional<PrintResult> bare;
    if (options.bareEverywhere || pageCount <= BareOutlineLimit)
        bare = PrintBare(text);
    const std::string what = "print the whole outline of " + std::to_string(pageCount) + " pages";
    // About 15 pages a sheet: a second, and 15 ms for each sheet.
    ReportPrint(what.c_str(), ours, bare ? &*bare : nullptr, LineCount(text), 1000.0 + pageCount);
    if (options.check)
        std::printf("  the same pages as the whole text printed at once: %s\n",
                    SamePages(ours.pages, PrintedAtOnce(text)) ? "yes" : "NO");
}

void TimeLongPage()
{
    std::string body;
    for (int i = 1; i <= 13000; ++i)
        body += "Line " + std::to_string(i) + " of a long page, printed as it stands in the editor.\r\n";
    if (!LoadBenchOutline(OnePageOutline(body), 2))
        return;
    Main->Tree->SetSelected(Main->Tree->Items().GetFirstNode()->getFirstChild());
    Main->TreeClick();
    const std::string text = Main->RichEdit->Text();
    const PrintResult ours = PrintSelectedPage();
    const PrintResult bare = PrintBare(text);
    ReportPrint("print a page of 13,000 lines (Print Page)", ours, &bare, LineCount(text), 4000);
}

Options ReadOptions(int argc, char** argv)
{
    Options options;
    std::vector<int> pageCounts;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "all")
            options.bareEverywhere = true;
        else if (argument == "check")
            options.check = true;
        else
            pageCounts.push_back(std::atoi(argv[i]));
    }
    if (!pageCounts.empty())
        options.pageCounts = pageCounts;
    return options;
}
} // namespace

int main(int argc, char** argv)
{
    const Options options = ReadOptions(argc, argv);
    StartShownBenchWindow();
    OptionSettings.PrintFontFace = "Courier New";
    OptionSettings.PrintFontSize = PrintFontSize;
    // The fonts and the metafile code, loaded before anything is timed.
    PrintBare("warm up\r\n");
    for (int pageCount : options.pageCounts)
        TimeWholeOutline(pageCount, options);
    TimeLongPage();
    EndBenchWindow();
    return 0;
}
