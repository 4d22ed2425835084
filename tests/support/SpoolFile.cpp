#include "tests/support/SpoolFile.h"

#include "print/PrintJob.h"
#include "print/PrintPreview.h"
#include "print/SpoolInterpreter.h"

#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <map>

namespace {

// How many argument lines follow each keyword of the spool.
const std::map<std::string, int> kArguments = {
    {"#startpage", 0}, {"#endpage", 0}, {"#ForeColor", 1}, {"#fn", 1},    {"#fs", 1},     {"#fb", 1},
    {"#y", 1},         {"#x", 1},       {"#txt_l", 1},     {"#txt_r", 1}, {"#txt_c", 1},  {"#txt_VERT", 1},
    {"#fill", 1},      {"#color", 1},   {"#line", 6},      {"#img", 5},
};

QString Run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

std::vector<std::string> TestSpoolItem::lines() const
{
    std::vector<std::string> all{keyword};
    all.insert(all.end(), args.begin(), args.end());
    return all;
}

std::vector<std::string> TestSpoolPage::lines() const
{
    std::vector<std::string> all;
    for (const auto &item : items) {
        const auto l = item.lines();
        all.insert(all.end(), l.begin(), l.end());
    }
    return all;
}

std::vector<std::string> TestSpoolPage::texts() const
{
    std::vector<std::string> all;
    for (const auto &item : items)
        if (item.keyword.rfind("#txt_", 0) == 0 && !item.args.empty())
            all.push_back(item.args[0]);
    return all;
}

TestSpool ReadTestSpool()
{
    CurrentPrintJob().flush();
    return ReadTestSpool(CurrentPrintJob().path());
}

TestSpool ReadTestSpool(const QString &path)
{
    TestSpool spool;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return spool;
    const QByteArray bytes = file.readAll();
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0) {
            spool.crlf = false; // a last line without its end
            end = bytes.size();
        }
        QByteArray line = bytes.mid(start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        else
            spool.crlf = false;
        spool.lines.push_back(line.toStdString());
        start = end + 1;
    }

    TestSpoolPage *page = nullptr;
    for (size_t i = 0; i < spool.lines.size(); ++i) {
        const auto known = kArguments.find(spool.lines[i]);
        if (known == kArguments.end())
            continue;
        TestSpoolItem item{spool.lines[i], {}};
        for (int a = 0; a < known->second; ++a) {
            if (++i >= spool.lines.size()) {
                spool.cutShort = true;
                break;
            }
            item.args.push_back(spool.lines[i]);
        }
        if (item.keyword == "#startpage") {
            spool.pages.emplace_back();
            page = &spool.pages.back();
        } else if (item.keyword == "#endpage") {
            page = nullptr;
        } else if (page) {
            page->items.push_back(item);
        } else {
            spool.outside.push_back(item);
        }
    }
    return spool;
}

int PrintSpoolToPdf(const QString &pdf, int from, int to)
{
    Printer().setOutputFileName(pdf);
    gPrintCancel = false;
    const int printed = PrintPages(static_cast<int16_t>(from), static_cast<int16_t>(to));
    Printer().setOutputFileName(QString());
    return printed;
}

int PdfPageCount(const QString &pdf)
{
    static const QRegularExpression pages(QStringLiteral(R"(^Pages:\s+(\d+))"), QRegularExpression::MultilineOption);
    const auto m = pages.match(Run(QStringLiteral("pdfinfo"), {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

QString PdfText(const QString &pdf, int page)
{
    QStringList args{QStringLiteral("-layout")};
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l") << QString::number(page);
    args << pdf << QStringLiteral("-");
    return Run(QStringLiteral("pdftotext"), args);
}

QImage PdfPageImage(const QString &pdf, int page, int dpi)
{
    QTemporaryDir dir;
    const QString prefix = dir.path() + QStringLiteral("/page");
    Run(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                                     QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                     QString::number(page), QStringLiteral("-singlefile"), pdf, prefix});
    return QImage(prefix + QStringLiteral(".png"));
}
