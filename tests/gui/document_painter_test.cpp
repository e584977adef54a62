// A laid-out document drawn at a printer's resolution is the document drawn for the PDF: every
// word's box in the same place, whatever the device's dots per inch.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cmath>

#include "platform/qt_document_painter.h"

namespace hvr {
namespace {

// Each word of the first page with its box in points, as pdftotext finds them.
struct Word {
    QString text;
    double xMin, yMin, xMax;
};
std::vector<Word> wordsAt(const platform::Document& document, int dpi) {
    QTemporaryDir dir;
    const QString path = dir.filePath("d.pdf");
    {
        QPdfWriter writer(path);
        writer.setResolution(dpi);
        EXPECT_TRUE(platform::paintDocument(document, writer));
    }
    QProcess reader;
    reader.start("pdftotext", {"-bbox", path, "-"});
    reader.waitForFinished(20000);
    const QString html = QString::fromUtf8(reader.readAllStandardOutput());
    static const QRegularExpression word(
        R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="[0-9.]+">([^<]*)</word>)re");
    std::vector<Word> words;
    for (auto m = word.globalMatch(html); m.hasNext();) {
        const auto w = m.next();
        words.push_back({w.captured(4), w.captured(1).toDouble(), w.captured(2).toDouble(), w.captured(3).toDouble()});
    }
    return words;
}

TEST(DocumentPainter, EveryWordIsWhereItIsAtEveryResolution) {
    if (QProcess::execute("pdftotext", {"-v"}) < 0) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    platform::Document document;
    document.pages.emplace_back();
    auto& page = document.pages.back();
    using Anchor = platform::PageMark::Anchor;
    const auto text = [&](double x, double y, const char* words, Anchor anchor, double points) {
        platform::PageMark m;
        m.x0 = x;
        m.y0 = y;
        m.text = words;
        m.anchor = anchor;
        m.font = {"宋体", points, false};
        page.push_back(m);
    };
    // One word a mark, so that no word runs into another at any resolution.
    text(1000, 1000, "Left", Anchor::Left, 10);
    text(6000, 2000, "电流互感器变比试验报告", Anchor::Center, 16);
    text(10800, 3000, "+0.175%", Anchor::Right, 10);
    text(10800, 3400, "-12.345", Anchor::Right, 9);
    text(8000, 3400, "±0.300%", Anchor::Right, 9);

    const auto reference = wordsAt(document, 1440);
    ASSERT_EQ(reference.size(), 5u);
    for (int dpi : {300, 600, 1200}) {
        const auto words = wordsAt(document, dpi);
        std::string all;
        for (const auto& w : words)
            all += w.text.toStdString() + " ";
        ASSERT_EQ(words.size(), reference.size()) << dpi << ": " << all;
        for (std::size_t i = 0; i < words.size(); ++i) {
            EXPECT_EQ(words[i].text, reference[i].text);
            // Within a twip (1/20 point), as far as the device's own dots allow.
            const double tolerance = std::max(0.05, 72.0 / dpi);
            EXPECT_NEAR(words[i].xMin, reference[i].xMin, tolerance) << dpi << " dpi: " << words[i].text.toStdString();
            EXPECT_NEAR(words[i].xMax, reference[i].xMax, tolerance) << dpi << " dpi: " << words[i].text.toStdString();
            EXPECT_NEAR(words[i].yMin, reference[i].yMin, tolerance) << dpi << " dpi: " << words[i].text.toStdString();
        }
    }
}

} // namespace
} // namespace hvr
