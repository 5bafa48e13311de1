#include "Printers.h"

#include <winspool.h>

#include <utility>
#include <vector>

namespace {
const char* const NoPrinterText = "There is no default printer. Install a printer and choose it as the default.";
const char* const PrintingFailedText = "Printing failed: the printer did not take the page.";
const char* const PrintingInProgressText = "Printing in progress";

std::unique_ptr<TPrinter>& CurrentPrinter()
{
    static std::unique_ptr<TPrinter> printer = std::make_unique<TSystemPrinter>();
    return printer;
}

std::string DefaultPrinterName()
{
    DWORD size = 0;
    GetDefaultPrinterA(nullptr, &size);
    if (size == 0)
        return {};
    std::vector<char> name(size);
    if (!GetDefaultPrinterA(name.data(), &size))
        return {};
    return name.data();
}
} // namespace

void TPrinter::RefuseWhilePrinting() const
{
    if (Printing())
        throw EPrinter(PrintingInProgressText);
}

int TPrinter::PageWidth() const { return GetDeviceCaps(Handle(), HORZRES); }
int TPrinter::PageHeight() const { return GetDeviceCaps(Handle(), VERTRES); }
int TPrinter::PixelsPerInchX() const { return GetDeviceCaps(Handle(), LOGPIXELSX); }
int TPrinter::PixelsPerInchY() const { return GetDeviceCaps(Handle(), LOGPIXELSY); }

TPrinter& Printer() { return *CurrentPrinter(); }

std::unique_ptr<TPrinter> InstallPrinter(std::unique_ptr<TPrinter> printer)
{
    if (!printer)
        printer = std::make_unique<TSystemPrinter>();
    std::swap(printer, CurrentPrinter());
    return printer;
}

TSystemPrinter::TSystemPrinter(NameSource printerName)
    : printerName_(printerName ? std::move(printerName) : NameSource(&DefaultPrinterName))
{
}

TSystemPrinter::~TSystemPrinter() { Abort(); }

void TSystemPrinter::BeginDoc()
{
    RefuseWhilePrinting();
    const std::string name = printerName_();
    if (name.empty())
        throw EPrinter(NoPrinterText);
    dc_ = CreateDCA("WINSPOOL", name.c_str(), nullptr, nullptr);
    if (!dc_)
        throw EPrinter(NoPrinterText);
    DOCINFOA document{};
    document.cbSize = sizeof document;
    document.lpszDocName = Title.c_str();
    if (StartDocA(dc_, &document) <= 0) {
        Release();
        throw EPrinter(PrintingFailedText);
    }
    printing_ = true;
    if (StartPage(dc_) <= 0) {
        Abort();
        throw EPrinter(PrintingFailedText);
    }
}

void TSystemPrinter::NewPage()
{
    if (EndPage(dc_) <= 0 || StartPage(dc_) <= 0)
        throw EPrinter(PrintingFailedText);
}

void TSystemPrinter::EndDoc()
{
    const bool ended = EndPage(dc_) > 0 && ::EndDoc(dc_) > 0;
    printing_ = false;
    Release();
    if (!ended)
        throw EPrinter(PrintingFailedText);
}

void TSystemPrinter::Abort()
{
    if (printing_)
        AbortDoc(dc_);
    printing_ = false;
    Release();
}

void TSystemPrinter::Release()
{
    if (dc_)
        DeleteDC(dc_);
    dc_ = nullptr;
}
