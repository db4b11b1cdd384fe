// The printer: jobs of pages written as one PDF, page counts checked by poppler's pdfinfo
// where it is installed and by the document's own page objects always.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "plat/Printers.h"
#include "TestSupport.h"

namespace plat {
namespace {

namespace fs = std::filesystem;

String U(const std::string& s) { return String(s.begin(), s.end()); }

std::string ReadAll(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Page objects of the document ("/Type /Page", not "/Pages").
int PageObjects(const std::string& pdf)
{
    static const std::regex page(R"(/Type\s*/Page[^s])");
    return static_cast<int>(std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), page), std::sregex_iterator()));
}

// pdfinfo's page count; -1 when the tool is not installed.
int PdfInfoPages(const fs::path& p)
{
    if (std::system("command -v pdfinfo >/dev/null 2>&1") != 0)
        return -1;
    const std::string cmd = "pdfinfo '" + p.string() + "' 2>/dev/null";
    FILE* f = popen(cmd.c_str(), "r");
    if (!f)
        return -1;
    char line[512];
    int pages = -2;
    while (fgets(line, sizeof line, f))
        if (std::sscanf(line, "Pages: %d", &pages) == 1)
            break;
    pclose(f);
    return pages;
}

class PrinterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = temp.native();
        printer.SetPixelsPerInch(72);
    }
    testsupport::TempDir temp;
    fs::path dir;
    TPrinter printer;
};

TEST_F(PrinterTest, PagesReachOnePdfFile)
{
    const fs::path out = dir / "three.pdf";
    printer.SetFileName(U(out.string()));
    printer.SetTitle(u"Tree");
    EXPECT_EQ(printer.PageWidth(), 595);   // A4 at 72 dpi
    EXPECT_EQ(printer.PageHeight(), 842);
    printer.BeginDoc();
    EXPECT_TRUE(printer.Printing());
    EXPECT_EQ(printer.PageNumber(), 1);
    for (int page = 0; page < 3; ++page) {
        if (page > 0)
            printer.NewPage();
        TCanvas* c = printer.Canvas();
        EXPECT_EQ(c->Pixels(10, 10), clWhite);   // every page starts white
        c->Brush()->SetColor(clBlack);
        c->FillRect({10, 10, 110, 20 + 10 * page});
        EXPECT_GT(c->TextHeight(u"Xg"), 0);
    }
    EXPECT_EQ(printer.PageNumber(), 3);
    EXPECT_FALSE(fs::exists(out));   // nothing is visible before the job ends
    printer.EndDoc();
    EXPECT_FALSE(printer.Printing());
    EXPECT_EQ(printer.PageNumber(), 0);
    EXPECT_EQ(printer.PagesPrinted(), 3);
    const std::string pdf = ReadAll(out);
    ASSERT_EQ(pdf.rfind("%PDF", 0), 0u);
    EXPECT_EQ(PageObjects(pdf), 3);
    const int info = PdfInfoPages(out);
    if (info != -1) {
        EXPECT_EQ(info, 3);
    }
}

TEST_F(PrinterTest, LandscapeSwapsThePageSides)
{
    printer.SetOrientation(poLandscape);
    EXPECT_EQ(printer.PageWidth(), 842);
    EXPECT_EQ(printer.PageHeight(), 595);
    printer.SetPaperSize(100, 50);
    printer.SetOrientation(poPortrait);
    EXPECT_EQ(printer.PageWidth(), 283);
    EXPECT_EQ(printer.PageHeight(), 142);
}

TEST_F(PrinterTest, ErrorsAndAbort)
{
    EXPECT_TRUE(testsupport::ThrowsWith<EPrinter>([&] { printer.BeginDoc(); },
                                            u"There is no default printer currently selected"));
    EXPECT_TRUE(testsupport::ThrowsWith<EPrinter>([&] { printer.NewPage(); }, u"Printer is not currently printing"));
    EXPECT_TRUE(testsupport::ThrowsWith<EPrinter>([&] { printer.EndDoc(); }, u"Printer is not currently printing"));

    const fs::path out = dir / "aborted.pdf";
    printer.SetFileName(U(out.string()));
    printer.BeginDoc();
    EXPECT_TRUE(testsupport::ThrowsWith<EPrinter>([&] { printer.BeginDoc(); }, u"Printing in progress"));
    EXPECT_TRUE(testsupport::ThrowsWith<EPrinter>([&] { printer.SetOrientation(poLandscape); }, u"Printing in progress"));
    printer.NewPage();
    printer.Abort();
    EXPECT_FALSE(printer.Printing());
    EXPECT_TRUE(printer.Aborted());
    EXPECT_FALSE(fs::exists(out));
    EXPECT_TRUE(fs::is_empty(dir));   // no temporary file is left behind either

    // A folder that cannot hold the file fails at the start, leaving the printer idle.
    printer.SetFileName(U((dir / "missing" / "x.pdf").string()));
    EXPECT_TRUE(testsupport::ThrowsWith<EPrinter>([&] { printer.BeginDoc(); },
                                            u"Cannot write the print file " + U((dir / "missing" / "x.pdf").string())));
    EXPECT_FALSE(printer.Printing());
}

} // namespace
} // namespace plat
