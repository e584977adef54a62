// Printing into a PDF as a real printer would: the sheets of 157 groups read back as text.
#include <gtest/gtest.h>

#include <QPageSize>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>

#include "platform/qt_printer.h"
#include "records/row_format.h"
#include "tests/support/form_harness.h"
#include "tests/support/store_builder.h"

namespace hvr {
namespace {

// The PDF's text as pdftotext lays it out, pages separated by form feeds.
std::string pdfText(const QString& path) {
    QProcess reader;
    reader.start("pdftotext", {"-layout", path, "-"});
    if (!reader.waitForFinished(20000)) return {};
    return reader.readAllStandardOutput().toStdString();
}

std::string trimmed(std::string s) {
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    while (!s.empty() && s.front() == ' ')
        s.erase(0, 1);
    return s;
}

class PdfPrint : public ::testing::TestWithParam<QPageSize::PageSizeId> {};

TEST_P(PdfPrint, TwoSheetsOfHundredFiftySevenGroupsInColumnOrderNothingCut) {
    if (QProcess::execute("pdftotext", {"-v"}) < 0)
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    testing::FormHarness h;
    for (int i = 0; i < 157; ++i)
        testing::putGroup(*h.form, i, {i + 1, '1', 1000 + i, '2', 500 + i});
    h.form->CountStoredGroups();
    QTemporaryDir dir;
    const QString path = dir.filePath("sheets.pdf");
    {
        QPdfWriter writer(path);
        writer.setPageSize(QPageSize(GetParam()));
        writer.setResolution(600);
        platform::QtPagePrinter printer(writer);
        ASSERT_TRUE(h.form->PrintSheets(printer, 0, 2));
    }
    const std::string text = pdfText(path);
    ASSERT_FALSE(text.empty());
    const auto pages = std::count(text.begin(), text.end(), '\f');
    EXPECT_EQ(pages, 2) << text;
    const std::string first = text.substr(0, text.find('\f'));
    EXPECT_EQ(trimmed(first.substr(0, first.find('\n'))), "变比记录仪") << "the title comes first";
    // Each line holds slot n on the left and 78 + n on the right, in that order.
    for (int n : {0, 26, 77}) {
        const std::string left = trimmed(formatRow(*h.form, n));
        const std::string right = trimmed(formatRow(*h.form, 78 + n));
        const auto at = first.find(left.substr(0, left.find(':')));
        ASSERT_NE(at, std::string::npos) << "row " << n << " is on the page";
        const std::string line = first.substr(at, first.find('\n', at) - at);
        EXPECT_NE(line.find(right.substr(0, right.find(':'))), std::string::npos) << line;
        EXPECT_LT(line.find(left.substr(0, 8)), line.find(right.substr(0, 8))) << line;
    }
    const std::string second = text.substr(text.find('\f') + 1);
    EXPECT_NE(second.find("第0157组"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Paper, PdfPrint, ::testing::Values(QPageSize::A4, QPageSize::Letter),
                         [](const auto& info) { return info.param == QPageSize::A4 ? "A4" : "Letter"; });

} // namespace
} // namespace hvr
