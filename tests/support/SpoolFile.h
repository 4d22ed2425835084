#pragma once
// Reads the print spool back for tests, independently of the program's own replay: the
// raw lines (each must end in CR LF), and the pages with their items, each item its
// keyword and its argument lines. Also prints the current job into a PDF and reads the
// PDF back (poppler's pdfinfo, pdftotext, pdftoppm), for every test binary that checks
// a printout.

#include <QImage>
#include <QString>

#include <string>
#include <vector>

struct TestSpoolItem {
    std::string keyword;
    std::vector<std::string> args;
    // The item as the lines it was written as.
    std::vector<std::string> lines() const;
};

struct TestSpoolPage {
    std::vector<TestSpoolItem> items;
    // Every line of the page's items, without "#startpage" and "#endpage".
    std::vector<std::string> lines() const;
    // The text arguments of the page's text items, in order.
    std::vector<std::string> texts() const;
};

struct TestSpool {
    std::vector<std::string> lines;     // every line, CR LF removed
    bool crlf = true;                   // every line ended in CR LF
    std::vector<TestSpoolPage> pages;   // from "#startpage" to "#endpage"
    std::vector<TestSpoolItem> outside; // items outside any page
    bool cutShort = false;              // an item ran past the end of the file
};

// The current job's file as written so far (the spool once it is shown), or any file in
// its format.
TestSpool ReadTestSpool();
TestSpool ReadTestSpool(const QString &path);

// Prints pages from..to of the current job into `pdf` (the program's printer pointed at
// the file for the call); the number of pages printed.
int PrintSpoolToPdf(const QString &pdf, int from, int to);

// What a PDF holds: its page count (0 when it cannot be read), the text of a page
// (pdftotext -layout, all pages for 0) and one page as an image at `dpi`.
int PdfPageCount(const QString &pdf);
QString PdfText(const QString &pdf, int page = 0);
QImage PdfPageImage(const QString &pdf, int page, int dpi);
