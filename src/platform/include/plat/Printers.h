#pragma once
// The printer: a job of pages drawn through an ordinary TCanvas and written as one PDF file.
// - Each page is a white 32-bit image of PageWidth x PageHeight pixels at PixelsPerInch;
//   NewPage and EndDoc put the current page into the document, so memory holds one page.
// - The file is written atomically when the job ends; an aborted job leaves no file.
// - The output file is the printer's FileName (the program's own choice or a test's);
//   without one there is no printer to print on and BeginDoc raises EPrinter.
// - Font heights on the page canvas are page pixels, as on every canvas: callers scale by
//   PixelsPerInch as they would for a printer.
#include <memory>

#include "plat/Exception.h"
#include "plat/Graphics.h"

namespace plat {

class EPrinter : public Exception { using Exception::Exception; };

enum TPrinterOrientation { poPortrait, poLandscape };

class TPrinter {
public:
    TPrinter();
    ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // "Printing in progress" when a job runs; "There is no default printer currently
    // selected" without an output file.
    void BeginDoc();
    // "Printer is not currently printing" outside a job.
    void NewPage();
    void EndDoc();
    // Ends the job without writing anything.
    void Abort();
    bool Printing() const;
    bool Aborted() const;
    // 1-based number of the page being drawn; 0 outside a job.
    int PageNumber() const;
    // Pages put into the document by the last finished job.
    int PagesPrinted() const;

    // The page canvas; valid between BeginDoc and EndDoc.
    TCanvas* Canvas();
    int PageWidth() const;
    int PageHeight() const;
    int PixelsPerInch() const;

    const String& Title() const;
    void SetTitle(const String& Value);
    TPrinterOrientation Orientation() const;
    // "Printing in progress" during a job.
    void SetOrientation(TPrinterOrientation Value);
    // Dots per inch of the page images (default 300); changed only between jobs.
    void SetPixelsPerInch(int Value);
    // Paper size in millimetres, portrait (default A4, 210 x 297).
    void SetPaperSize(double WidthMm, double HeightMm);

    const String& FileName() const;
    void SetFileName(const String& Value);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The program's printer (created on first use).
TPrinter* Printer();

} // namespace plat
