#include "plat/Printers.h"

#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QString>

#include <algorithm>
#include <cmath>

#include "gfx/GfxNative.h"

namespace plat {

namespace {

QString Q(const String& s) { return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())); }

} // namespace

struct TPrinter::Impl {
    String title;
    String fileName;
    TPrinterOrientation orientation = poPortrait;
    int dpi = 300;
    double paperW = 210.0, paperH = 297.0;

    bool printing = false;
    bool aborted = false;
    int pageNumber = 0;
    int pagesPrinted = 0;
    QImage page;
    TCanvas canvas;
    // Written to a temporary file beside the target and renamed over it when the job ends.
    std::unique_ptr<QSaveFile> file;
    std::unique_ptr<QPdfWriter> writer;
    std::unique_ptr<QPainter> painter;

    double WidthMm() const { return orientation == poPortrait ? paperW : paperH; }
    double HeightMm() const { return orientation == poPortrait ? paperH : paperW; }
    int PixelsW() const { return static_cast<int>(std::lround(WidthMm() / 25.4 * dpi)); }
    int PixelsH() const { return static_cast<int>(std::lround(HeightMm() / 25.4 * dpi)); }

    void FreshPage()
    {
        page = QImage(PixelsW(), PixelsH(), QImage::Format_ARGB32_Premultiplied);
        page.fill(0xFFFFFFFFu);
        canvas.Font()->SetHeight(-std::max(1, static_cast<int>(std::lround(8.0 * dpi / 72.0))));
        gfx::BindCanvas(&canvas, &page, QPoint(0, 0), nullptr);
    }
    void PutPage()
    {
        const QRect target(0, 0, painter->device()->width(), painter->device()->height());
        painter->drawImage(target, page);
        ++pagesPrinted;
    }
    void Reset()
    {
        gfx::UnbindCanvas(&canvas);
        painter.reset();
        writer.reset();
        if (file)
            file->cancelWriting();
        file.reset();
        page = QImage();
        printing = false;
        pageNumber = 0;
    }
};

TPrinter::TPrinter() : impl_(std::make_unique<Impl>()) {}

TPrinter::~TPrinter()
{
    if (impl_->printing)
        impl_->Reset();
}

void TPrinter::BeginDoc()
{
    Impl& d = *impl_;
    if (d.printing)
        throw EPrinter(u"Printing in progress");
    if (d.fileName.empty())
        throw EPrinter(u"There is no default printer currently selected");
    d.aborted = false;
    d.pagesPrinted = 0;
    d.file = std::make_unique<QSaveFile>(Q(d.fileName));
    if (!d.file->open(QIODevice::WriteOnly)) {
        d.file.reset();
        throw EPrinter(u"Cannot write the print file " + d.fileName);
    }
    d.writer = std::make_unique<QPdfWriter>(d.file.get());
    d.writer->setTitle(Q(d.title));
    d.writer->setResolution(d.dpi);
    d.writer->setPageSize(QPageSize(QSizeF(d.WidthMm(), d.HeightMm()), QPageSize::Millimeter));
    d.writer->setPageMargins(QMarginsF(0, 0, 0, 0));
    d.painter = std::make_unique<QPainter>(d.writer.get());
    d.printing = true;
    d.pageNumber = 1;
    d.FreshPage();
}

void TPrinter::NewPage()
{
    Impl& d = *impl_;
    if (!d.printing)
        throw EPrinter(u"Printer is not currently printing");
    d.PutPage();
    d.writer->newPage();
    ++d.pageNumber;
    d.FreshPage();
}

void TPrinter::EndDoc()
{
    Impl& d = *impl_;
    if (!d.printing)
        throw EPrinter(u"Printer is not currently printing");
    d.PutPage();
    d.painter->end();
    d.painter.reset();
    d.writer.reset();
    const bool written = d.file->commit();
    d.file.reset();
    const int pages = d.pagesPrinted;
    d.Reset();
    d.pagesPrinted = pages;
    if (!written)
        throw EPrinter(u"Cannot write the print file " + d.fileName);
}

void TPrinter::Abort()
{
    Impl& d = *impl_;
    if (!d.printing)
        return;
    d.Reset();
    d.aborted = true;
    d.pagesPrinted = 0;
}

bool TPrinter::Printing() const { return impl_->printing; }
bool TPrinter::Aborted() const { return impl_->aborted; }
int TPrinter::PageNumber() const { return impl_->pageNumber; }
int TPrinter::PagesPrinted() const { return impl_->pagesPrinted; }
TCanvas* TPrinter::Canvas() { return &impl_->canvas; }
int TPrinter::PageWidth() const { return impl_->PixelsW(); }
int TPrinter::PageHeight() const { return impl_->PixelsH(); }
int TPrinter::PixelsPerInch() const { return impl_->dpi; }
const String& TPrinter::Title() const { return impl_->title; }
void TPrinter::SetTitle(const String& Value) { impl_->title = Value; }
TPrinterOrientation TPrinter::Orientation() const { return impl_->orientation; }

void TPrinter::SetOrientation(TPrinterOrientation Value)
{
    if (impl_->printing)
        throw EPrinter(u"Printing in progress");
    impl_->orientation = Value;
}

void TPrinter::SetPixelsPerInch(int Value)
{
    if (impl_->printing)
        throw EPrinter(u"Printing in progress");
    impl_->dpi = std::clamp(Value, 36, 1200);
}

void TPrinter::SetPaperSize(double WidthMm, double HeightMm)
{
    if (impl_->printing)
        throw EPrinter(u"Printing in progress");
    impl_->paperW = std::clamp(WidthMm, 10.0, 2000.0);
    impl_->paperH = std::clamp(HeightMm, 10.0, 2000.0);
}

const String& TPrinter::FileName() const { return impl_->fileName; }
void TPrinter::SetFileName(const String& Value) { impl_->fileName = Value; }

TPrinter* Printer()
{
    static TPrinter printer;
    return &printer;
}

} // namespace plat
