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
    std::string page;
    for (int i = 0; page.size() < 924 * 1024 || i < 12000; ++i)
        page += "Line " + std::to_string(i) + " of a long page that the printer gets, with words after words\r\n";
    const int lines = static_cast<int>(std::count(page.begin(), page.end(), '\n'));

    constexpr int Runs = 3;
    std::vector<double> gathered;
    std::vector<double> separate;
    bool applied = true;
    for (int run = 0; run < Runs; ++run) {
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
    std::printf("  one update %s; two exchanges %s; %d lines, %zu bytes, indents %s\n", RunsText(gathered).c_str(),
                RunsText(separate).c_str(), lines, page.size(), applied ? "applied" : "MISSING");
    return 0;
}
