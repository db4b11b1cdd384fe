// Printing: the tree is cut into pages of the printer's size (in screen pixels, scaled by the
// printer's text metrics) and each page is painted straight from the tree, so memory holds
// one page whatever the tree's size.
#include <algorithm>
#include <cmath>

#include "LazyTrees.BaseTree.h"
#include "LazyTrees.Header.h"
#include "LazyTrees.Colors.h"
#include "LazyTrees.Utils.h"
#include "plat/Graphics.h"
#include "plat/Printers.h"

namespace vtree {

using namespace plat;

int RoundHalfEven(double Value);

TLTPrintLayout ComputePrintLayout(int TreeWidth, int TreeHeight, int PrinterPageWidth, int PrinterPageHeight,
                                  double Scale)
{
    TLTPrintLayout L;
    if (!(Scale > 0))
        Scale = 1;
    // A page share that rounds to nothing still advances by one pixel.
    L.PageWidth = std::max(1, RoundHalfEven(PrinterPageWidth / Scale));
    L.PageHeight = std::max(1, RoundHalfEven(PrinterPageHeight / Scale));
    // Whole pages: a tree exactly N pages wide prints N columns, never an empty one more.
    L.Columns = std::max(1, (std::max(TreeWidth, 0) + L.PageWidth - 1) / L.PageWidth);
    L.Rows = std::max(1, (std::max(TreeHeight, 0) + L.PageHeight - 1) / L.PageHeight);
    return L;
}

void TBaseLazyTree::Print(TPrinter* Printer, bool PrintHeader)
{
    if (!Printer)
        return;
    BeginUpdate();
    const TColor keptColor = Color();
    struct Restore {
        TBaseLazyTree* T;
        TColor Kept;
        ~Restore()
        {
            T->SetColor(Kept);
            T->EndUpdate();
        }
    } restore{this, keptColor};

    TRect treeRect = GetTreeRect();
    // With a visible header the pages show it above the rows.
    const int headerHeight = PrintHeader && In(FHeader->Options(), hoVisible) ? FHeader->Height() : 0;
    treeRect.Bottom += headerHeight;
    SetColor(clWhite);

    Printer->BeginDoc();
    // The tree's font on the printer: the same size in points at the printer's resolution.
    TFont printerFont(*Font());
    printerFont.SetHeight(static_cast<int>(std::lround(Font()->Height() * static_cast<double>(Printer->PixelsPerInch()) /
                                                       ScreenPixelsPerInch)));
    Printer->Canvas()->SetFont(&printerFont);
    TBitmap probe(1, 1);
    probe.Canvas()->SetFont(Font());
    const int screenHeight = std::max(1, probe.Canvas()->TextHeight(u"Tj"));
    const double scale = static_cast<double>(Printer->Canvas()->TextHeight(u"Tj")) / screenHeight;
    const TLTPrintLayout layout =
        ComputePrintLayout(treeRect.Width(), treeRect.Height(), Printer->PageWidth(), Printer->PageHeight(), scale);

    TBitmap page;
    page.SetPixelFormat(pf32bit);
    page.SetSize(layout.PageWidth, layout.PageHeight);
    for (int row = 0; row < layout.Rows; ++row) {
        for (int column = 0; column < layout.Columns; ++column) {
            page.Canvas()->SetWindowOrg(0, 0);
            page.Canvas()->Brush()->SetColor(clWhite);
            page.Canvas()->FillRect({0, 0, layout.PageWidth, layout.PageHeight});
            const TRect window = Bounds(column * layout.PageWidth, row * layout.PageHeight, layout.PageWidth,
                                        layout.PageHeight);
            TRect rows = window;
            TPoint target{0, 0};
            if (headerHeight > 0) {
                if (window.Top < headerHeight)
                    FHeader->Columns().PaintHeader(page.Canvas(), TRect{window.Left, 0, window.Right, headerHeight},
                                                   TPoint{0, -window.Top}, 0);
                rows.Top -= headerHeight;
                rows.Bottom -= headerHeight;
                if (rows.Top < 0) {
                    target.Y = -rows.Top;
                    rows.Top = 0;
                }
            }
            if (!rows.IsEmpty()) PaintTree(page.Canvas(), rows, target, PaintBit(poGridLines), pf32bit);
            page.Canvas()->SetWindowOrg(0, 0);
            StretchDrawBitmapDib(Printer->Canvas(), {0, 0, Printer->PageWidth(), Printer->PageHeight() - 1}, &page);
            if (row < layout.Rows - 1 || column < layout.Columns - 1)
                Printer->NewPage();
        }
    }
    Printer->EndDoc();
}

} // namespace vtree
