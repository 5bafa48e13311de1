#pragma once
// A printer whose pages are enhanced metafiles, for reading back what was
// printed: the text drawn on each page, where, and in which font. Install it
// with TInstalledPrinter for the length of a test.

#include "Printers.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TEmfPrinter : public TPrinter {
public:
    // A page of width x height pixels at dpi dots per inch.
    TEmfPrinter(int width = 4800, int height = 6600, int dpi = 600);
    ~TEmfPrinter() override;

    struct DrawnText {
        std::string text;
        int x = 0;
        int y = 0;
        std::string face;
        int height = 0; // the font's height as created (negative: character height)
    };
    struct Page {
        std::vector<DrawnText> texts;
    };

    void BeginDoc() override;
    void NewPage() override;
    void EndDoc() override;
    void Abort() override;
    bool Printing() const override { return dc_ != nullptr; }
    HDC Handle() const override { return dc_; }
    int PageWidth() const override { return width_; }
    int PageHeight() const override { return height_; }
    int PixelsPerInchX() const override { return dpi_; }
    int PixelsPerInchY() const override { return dpi_; }

    // Steps in the order they ran: "begin <title>", "new page", "end", "abort".
    std::vector<std::string> Steps;
    // The pages of the last finished job.
    std::vector<Page> Pages;
    // NewPage throws EPrinter when this many pages were started already; 0: never.
    int FailOnPage = 0;
    // Stops a runaway job with an EPrinter rather than fill the memory.
    int MostPages = 1000;
    // Runs once each new page has begun, with its number, while the job goes
    // on: what a person does during a print (keys, the message loop running
    // as a printer driver lets it) is done from here.
    std::function<void(int page)> OnNewPage;

private:
    void StartPage();
    void ClosePage(bool keep);

    int width_;
    int height_;
    int dpi_;
    HDC dc_ = nullptr;
    int started_ = 0;
    std::vector<Page> pending_;
};

// Makes the printer the current one while it lives.
class TInstalledPrinter {
public:
    explicit TInstalledPrinter(std::unique_ptr<TPrinter> printer) : previous_(InstallPrinter(std::move(printer))) {}
    ~TInstalledPrinter() { InstallPrinter(std::move(previous_)); }
    TInstalledPrinter(const TInstalledPrinter&) = delete;
    TInstalledPrinter& operator=(const TInstalledPrinter&) = delete;

private:
    std::unique_ptr<TPrinter> previous_;
};
