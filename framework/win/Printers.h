#pragma once
// The printer: a print job of pages drawn on the printer's device context.
// The program prints through the current printer object, which tests replace
// with one that draws somewhere they can read (see InstallPrinter).

#include "Exceptions.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

// A printing failure: no printer, or the spooler refusing a step.
class EPrinter : public Exception {
public:
    using Exception::Exception;
};

class TPrinter {
public:
    TPrinter() = default;
    virtual ~TPrinter() = default;
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // The job's name in the spooler; set before BeginDoc.
    std::string Title;

    // Starts a job and its first page; Handle is then the page's context.
    virtual void BeginDoc() = 0;
    // Ends the page and starts the next.
    virtual void NewPage() = 0;
    // Ends the last page and the job.
    virtual void EndDoc() = 0;
    // Drops the job unfinished; harmless outside one.
    virtual void Abort() = 0;
    virtual bool Printing() const = 0;
    // A job of this printer is running: raises "Printing in progress", as
    // beginning a second one would.
    void RefuseWhilePrinting() const;
    virtual HDC Handle() const = 0;
    // The printable area in device pixels, and the device's resolution.
    virtual int PageWidth() const;
    virtual int PageHeight() const;
    virtual int PixelsPerInchX() const;
    virtual int PixelsPerInchY() const;
};

// The current printer: the system's default printer unless replaced.
TPrinter& Printer();
// Puts another printer in place of the current one and returns the one it
// replaces; null brings the system's printer back.
std::unique_ptr<TPrinter> InstallPrinter(std::unique_ptr<TPrinter> printer);

// The system's default printer, found when a job begins.
class TSystemPrinter : public TPrinter {
public:
    // The name of the printer a job goes to; empty: there is none. The
    // system's default printer unless told otherwise.
    using NameSource = std::function<std::string()>;
    explicit TSystemPrinter(NameSource printerName = {});
    ~TSystemPrinter() override;
    void BeginDoc() override;
    void NewPage() override;
    void EndDoc() override;
    void Abort() override;
    bool Printing() const override { return printing_; }
    HDC Handle() const override { return dc_; }

private:
    void Release();
    NameSource printerName_;
    HDC dc_ = nullptr;
    bool printing_ = false;
};
