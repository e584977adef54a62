// A laid-out document drawn at a printer's resolution is the document drawn for the PDF, and a
// printed sheet is drawn as the document is: every word's box in the same place, whatever the
// device's dots per inch. The report's words, with real fonts, stand clear of each other and
// inside the paper, whatever its particulars.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cmath>

#include "analysis/group_analysis.h"
#include "platform/qt_document_painter.h"
#include "platform/qt_printer.h"
#include "report/report_layout.h"
#include "tests/support/store_builder.h"

namespace hvr {
namespace {

// Each word of a PDF with its box in points and its page, as pdftotext finds them.
struct Word {
    QString text;
    double xMin, yMin, xMax, yMax;
    int page;
};
struct Paper {
    double width = 0, height = 0; // points
};
std::vector<Word> wordsOf(const QString& path, Paper* paper = nullptr) {
    QProcess reader;
    reader.start("pdftotext", {"-bbox", path, "-"});
    reader.waitForFinished(20000);
    const QString html = QString::fromUtf8(reader.readAllStandardOutput());
    static const QRegularExpression item(
        R"re(<page width="([0-9.]+)" height="([0-9.]+)">|<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re");
    std::vector<Word> words;
    int page = -1;
    for (auto m = item.globalMatch(html); m.hasNext();) {
        const auto w = m.next();
        if (!w.captured(1).isEmpty()) {
            ++page;
            if (paper != nullptr) *paper = {w.captured(1).toDouble(), w.captured(2).toDouble()};
            continue;
        }
        QString text = w.captured(7);
        text.replace("&quot;", "\"").replace("&apos;", "'").replace("&lt;", "<").replace("&gt;", ">").replace("&amp;", "&");
        words.push_back({text, w.captured(3).toDouble(), w.captured(4).toDouble(), w.captured(5).toDouble(),
                         w.captured(6).toDouble(), page});
    }
    return words;
}

// The document drawn at a resolution, as a document or as the sheets of a printer.
enum class Drawn { AsDocument, AsSheet };
std::vector<Word> wordsAt(const platform::Document& document, int dpi, Drawn drawn) {
    QTemporaryDir dir;
    const QString path = dir.filePath("d.pdf");
    {
        QPdfWriter writer(path);
        writer.setResolution(dpi);
        if (drawn == Drawn::AsDocument) {
            EXPECT_TRUE(platform::paintDocument(document, writer));
        } else {
            // A sheet smaller than the printable area, which begins at the paper's corner.
            writer.setPageMargins(QMarginsF(0, 0, 0, 0));
            platform::QtPagePrinter printer(writer);
            printer.beginSheet(8000, 11000);
            for (const platform::PageMark& m : document.pages.front())
                printer.text(m.font, m.x0, m.y0, m.text);
            EXPECT_TRUE(printer.finish());
        }
    }
    return wordsOf(path);
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
    text(1000, 5000, "第0157组", Anchor::Left, 9);
    text(6000, 2000, "电流互感器变比试验报告", Anchor::Center, 16);
    text(10800, 3000, "+0.175%", Anchor::Right, 10);
    text(10800, 3400, "-12.345", Anchor::Right, 9);
    text(8000, 3400, "±0.300%", Anchor::Right, 9);

    const auto reference = wordsAt(document, 1440, Drawn::AsDocument);
    ASSERT_EQ(reference.size(), 6u);
    for (int dpi : {300, 600, 1200}) {
        const auto words = wordsAt(document, dpi, Drawn::AsDocument);
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
    // A printed sheet's texts, left-aligned, measure and stand as the document's.
    for (int dpi : {600, 1440}) {
        for (auto& m : page)
            m.anchor = Anchor::Left;
        const auto drawn = wordsAt(document, dpi, Drawn::AsDocument);
        const auto sheet = wordsAt(document, dpi, Drawn::AsSheet);
        ASSERT_EQ(sheet.size(), drawn.size());
        for (std::size_t i = 0; i < sheet.size(); ++i) {
            EXPECT_NEAR(sheet[i].xMin, drawn[i].xMin, 0.12) << dpi << " dpi: " << sheet[i].text.toStdString();
            EXPECT_NEAR(sheet[i].xMax, drawn[i].xMax, 0.12) << dpi << " dpi: " << sheet[i].text.toStdString();
            EXPECT_NEAR(sheet[i].yMin, drawn[i].yMin, 0.12) << dpi << " dpi: " << sheet[i].text.toStdString();
        }
    }
}

TEST(DocumentPainter, ReportWordsStandClearInsideThePaperWithEveryCharacterOfTheParticulars) {
    if (QProcess::execute("pdftotext", {"-v"}) < 0) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const std::u32string chunk = U"城南110kV变电站“东”\"Main Bus\" 一号主变 'T1' 高压侧CT-A-0001/测试";
    RecordStore store;
    for (int g = 0; g < 60; ++g)
        testing::putGroup(store, g, {6000 + g, '1', 5000, '2', 498});
    const auto groups = analysis::analyseGroups(store, kStoreSlots, verdict::parseNameplate("600/5"),
                                                verdict::AccuracyClass::C0_5);
    for (const std::size_t length : {std::size_t{0}, std::size_t{30}, std::size_t{200}}) {
        std::u32string text;
        for (std::size_t n = 0; n < length; ++n)
            text += chunk[n % chunk.size()];
        const std::string particular = QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size())).toStdString();
        const report::Particulars particulars{particular, particular, "A", particular, particular};
        for (const platform::Paper paper : {platform::Paper{11906, 16838}, platform::Paper{12240, 15840}}) {
            const auto document = report::layoutReport({particulars, groups, "2026-12-09 10:00:00", "1.0.1"},
                                                       platform::QtTextMeasure(), paper);
            QTemporaryDir dir;
            const QString path = dir.filePath("r.pdf");
            const auto bytes = platform::documentPdf(document);
            ASSERT_TRUE(bytes);
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(*bytes);
            file.close();
            Paper size;
            const auto words = wordsOf(path, &size);
            const std::string what = std::to_string(length) + " characters on " + std::to_string(paper.heightTwips);
            EXPECT_NEAR(size.width * 20, paper.widthTwips, 20) << what;
            EXPECT_NEAR(size.height * 20, paper.heightTwips, 20) << what;
            QString all;
            for (std::size_t i = 0; i < words.size(); ++i) {
                const Word& w = words[i];
                all += w.text;
                EXPECT_TRUE(w.xMin >= 0 && w.yMin >= 0 && w.xMax <= size.width && w.yMax <= size.height)
                    << what << ": outside the paper: " << w.text.toStdString();
                // Boxes of the same line touch; a word over another overlaps by more than a
                // hair, across or down.
                for (std::size_t j = 0; j < i; ++j) {
                    const Word& v = words[j];
                    const double across = std::min(w.xMax, v.xMax) - std::max(w.xMin, v.xMin);
                    const double down = std::min(w.yMax, v.yMax) - std::max(w.yMin, v.yMin);
                    EXPECT_FALSE(w.page == v.page && across > 0.5 && down > 0.5)
                        << what << ": \"" << w.text.toStdString() << "\" over \"" << v.text.toStdString() << "\"";
                }
            }
            // Each character of a particular, as many times as the four particulars hold it.
            for (const char32_t c : text) {
                const QString character = QString::fromUcs4(&c, 1);
                if (character == " ") continue;
                const auto inParticular = std::count(text.begin(), text.end(), c);
                EXPECT_GE(all.count(character), 4 * inParticular) << what << ": " << character.toStdString();
            }
        }
    }
}

} // namespace
} // namespace hvr
