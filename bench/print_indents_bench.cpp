// Times setting both print indents on a hidden converter that holds a long
// page, as printing prepares it: 12,000 lines selected whole, the first and
// the right indent gathered into one paragraph update. For comparison the
// same two indents sent one after the other.

#include "BenchReport.h"
#include "Form.h"
#include "RichEdit.h"

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
        params.caption = "Print indents benchmark";
        params.width = 600;
        params.height = 400;
        CreateHandle(params);
    }
};

// A converter set up as the main window's hidden one, holding the page.
std::unique_ptr<TQRichEdit> MakeConverter(BenchForm& form, const std::string& page)
{
    auto converter = std::make_unique<TQRichEdit>(&form, &form);
    converter->SetAllowObjects(false);
    converter->SetVisible(false);
    converter->SetPlainText(true);
    converter->SetUndoLimit(1);
    converter->SetWordSelection(false);
    converter->SetText(page);
    converter->SelectAll();
    return converter;
}

// Wine's own control, hidden, plain text, with one exchange carrying both
// indents: what the control itself costs.
double BareBothIndents(HWND parent, const std::string& page)
{
    HWND window = CreateWindowExA(0, "RichEdit20A", "", WS_CHILD | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0, 185, 89,
                                  parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(window, EM_SETTEXTMODE, TM_PLAINTEXT | TM_SINGLELEVELUNDO, 0);
    SendMessageA(window, EM_EXLIMITTEXT, 0, 0xFFFFFF);
    SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(page.c_str()));
    CHARRANGE all{0, -1};
    SendMessageA(window, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
    PARAFORMAT2 format{};
    format.cbSize = sizeof format;
    format.dwMask = PFM_STARTINDENT | PFM_RIGHTINDENT;
    format.dxStartIndent = 800;
    format.dxRightIndent = 600;
    const auto start = BenchClock::now();
    SendMessageA(window, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    const double elapsed = MillisecondsSince(start);
    DestroyWindow(window);
    return elapsed;
}

int CheckedIndents(TQRichEdit& converter)
{
    PARAFORMAT2 format{};
    format.cbSize = sizeof format;
    converter.SetSelection(converter.TextLength() - 1, converter.TextLength() - 1, false);
    SendMessageA(converter.Handle(), EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    return format.dxStartIndent == 800 && format.dxRightIndent == 600;
}
}

int main()
{
    BenchForm form;
    // The library and its class before the first bare window.
    MakeConverter(form, "warm up\r\n");
    std::string page;
    for (int i = 0; page.size() < 924 * 1024 || i < 12000; ++i)
        page += "Line " + std::to_string(i) + " of a long page that the printer gets, with words after words\r\n";
    const int lines = static_cast<int>(std::count(page.begin(), page.end(), '\n'));

    constexpr int Runs = 3;
    std::vector<double> gathered;
    std::vector<double> separate;
    std::vector<double> bare;
    bool applied = true;
    for (int run = 0; run < Runs; ++run) {
        bare.push_back(BareBothIndents(form.Handle(), page));
        {
            auto converter = MakeConverter(form, page);
            const auto start = BenchClock::now();
            {
                TParaUpdate update(converter->ParaAttributes());
                converter->ParaAttributes().SetFirstIndent(40);
                converter->ParaAttributes().SetRightIndent(30);
            }
            gathered.push_back(MillisecondsSince(start));
            applied = applied && CheckedIndents(*converter);
        }
        {
            auto converter = MakeConverter(form, page);
            const auto start = BenchClock::now();
            converter->ParaAttributes().SetFirstIndent(40);
            converter->ParaAttributes().SetRightIndent(30);
            separate.push_back(MillisecondsSince(start));
            applied = applied && CheckedIndents(*converter);
        }
    }
    Report("both print indents in one update (12,000 lines)", Best(gathered), 500);
    std::printf("  one update %s; two exchanges %s; bare control, one exchange %s\n", RunsText(gathered).c_str(),
                RunsText(separate).c_str(), RunsText(bare).c_str());
    std::printf("  %d lines, %zu bytes, indents %s\n", lines, page.size(), applied ? "applied" : "MISSING");
    return 0;
}
