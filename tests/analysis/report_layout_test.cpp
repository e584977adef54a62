// The test report's pages: every group once under a header repeated on each page it runs on,
// the pages numbered, the signatures under the last row; particulars of any length wrapped in
// their columns, no text over another, nothing outside the paper.
#include <gtest/gtest.h>

#include <string>

#include "analysis/group_analysis.h"
#include "report/report_layout.h"
#include "report/text_lines.h"
#include "tests/support/fake_text_measure.h"
#include "tests/support/store_builder.h"

namespace hvr {
namespace {

using platform::PageMark;
using Page = std::vector<PageMark>;

const testing::FakeTextMeasure kMeasure;
const platform::Paper kA4{11906, 16838}, kLetter{12240, 15840};

analysis::GroupAnalysis groupsOf(int groups) {
    RecordStore store;
    for (int g = 0; g < groups; ++g)
        testing::putGroup(store, g, {10000 + g, '1', 6000, '2', 498});
    return analysis::analyseGroups(store, kStoreSlots, verdict::parseNameplate("600/5"),
                                   verdict::AccuracyClass::C0_5);
}

std::vector<std::string> textsOf(const Page& page) {
    std::vector<std::string> texts;
    for (const auto& m : page)
        if (m.kind == PageMark::Kind::Text) texts.push_back(m.text);
    return texts;
}

int count(const std::vector<std::string>& texts, const std::string& text) {
    return static_cast<int>(std::count(texts.begin(), texts.end(), text));
}

struct Box {
    double left, top, right, bottom;
};
Box boxOf(const PageMark& m) {
    const double width = kMeasure.textWidth(m.font, m.text);
    const double left = m.anchor == PageMark::Anchor::Left     ? m.x0
                        : m.anchor == PageMark::Anchor::Center ? m.x0 - width / 2
                                                               : m.x0 - width;
    return {left, m.y0, left + width, m.y0 + m.font.points * 20};
}

// Every text of the document inside its paper and clear of every other text.
void expectLaidOutClear(const platform::Document& doc, const std::string& what) {
    for (std::size_t n = 0; n < doc.pages.size(); ++n) {
        std::vector<std::pair<Box, std::string>> boxes;
        for (const PageMark& m : doc.pages[n]) {
            const Box b = m.kind == PageMark::Kind::Text ? boxOf(m)
                                                         : Box{std::min(m.x0, m.x1), std::min(m.y0, m.y1),
                                                               std::max(m.x0, m.x1), std::max(m.y0, m.y1)};
            EXPECT_TRUE(b.left >= 0 && b.top >= 0 && b.right <= doc.widthTwips && b.bottom <= doc.heightTwips)
                << what << ", page " << n + 1 << ": outside the paper: " << m.text;
            if (m.kind != PageMark::Kind::Text || m.text.empty()) continue;
            for (const auto& [other, text] : boxes)
                EXPECT_FALSE(b.left < other.right - 1 && other.left < b.right - 1 &&
                             b.top < other.bottom - 1 && other.top < b.bottom - 1)
                    << what << ", page " << n + 1 << ": \"" << m.text << "\" over \"" << text << "\"";
            boxes.emplace_back(b, m.text);
        }
    }
}

// The value set beside a label of the particulars, its lines joined: the texts after the label
// standing where its first line stands, up to the next label of the column.
std::string valueBeside(const platform::Document& doc, const std::string& label) {
    const Page& page = doc.pages.front();
    const auto at =
        std::find_if(page.begin(), page.end(), [&](const PageMark& m) { return m.text == label; });
    if (at == page.end() || at + 1 == page.end()) return "(no label " + label + ")";
    const double labelX = at->x0, valueX = (at + 1)->x0;
    std::string value;
    for (auto m = at + 1; m != page.end(); ++m) {
        if (m->kind != PageMark::Kind::Text) continue;
        if (m->x0 == labelX && m->font.name == "黑体") break;
        if (m->x0 == valueX) value += m->text;
    }
    return value;
}

std::string withoutBlanks(std::string s) {
    std::erase(s, ' ');
    return s;
}

TEST(Report, EveryGroupOnceUnderItsHeaderAndTheSignaturesUnderTheLastRow) {
    std::vector<int> counts{4600};
    for (int g = 0; g <= 130; ++g)
        counts.push_back(g);
    for (const platform::Paper& paper : {kA4, kLetter})
        for (const int groups : counts) {
            const platform::Document doc = report::layoutReport(
                {{"城南", "CT-1", "A", "王工", ""}, groupsOf(groups), "", "1.0.1"}, kMeasure, paper);
            const std::string what =
                std::to_string(groups) + " groups on " + std::to_string(paper.heightTwips);
            EXPECT_EQ(doc.widthTwips, paper.widthTwips);
            EXPECT_EQ(doc.heightTwips, paper.heightTwips);
            int seen = 0;
            for (std::size_t n = 0; n < doc.pages.size(); ++n) {
                const auto texts = textsOf(doc.pages[n]);
                const std::string footer =
                    "第 " + std::to_string(n + 1) + " 页 共 " + std::to_string(doc.pages.size()) + " 页";
                EXPECT_EQ(count(texts, footer), 1) << what << ", page " << n + 1;
                const int before = seen;
                for (const std::string& t : texts)
                    if (t == std::to_string(10000 + seen)) ++seen; // groups in store order, each once
                const bool last = n + 1 == doc.pages.size();
                EXPECT_EQ(count(texts, "组号"), seen > before || (groups == 0 && last) ? 1 : 0)
                    << what << ", page " << n + 1 << ": a header over the rows of each page";
                EXPECT_EQ(count(texts, "审核:"), last ? 1 : 0) << what;
                if (last && groups > 0) {
                    EXPECT_GT(seen, before) << what << ": the last rows go with the signatures";
                }
            }
            EXPECT_EQ(seen, groups) << what;
            if (groups < 60) expectLaidOutClear(doc, what);
        }
}

// A current the instrument disowned is shown as the listing shows it: its mark and no ratio.
TEST(Report, GroupsWithoutSignalOrOverloadedShowTheirMarkAndNoRatio) {
    RecordStore store;
    testing::putGroup(store, 0, {31, '1', 6000, '2', 500});
    testing::putGroup(store, 1, {33, '1', 531, '@', 443, 5}); // no primary signal
    testing::putGroup(store, 2, {34, '1', 6000, '2', 4000});  // the secondary overloaded
    const analysis::GroupAnalysis a = analysis::analyseGroups(
        store, kStoreSlots, verdict::parseNameplate("600/5"), verdict::AccuracyClass::C0_5);
    ASSERT_EQ(a.rows.size(), 3u);
    EXPECT_EQ(a.rows[0].primary + " " + a.rows[0].ratio, "600 120");
    EXPECT_EQ(a.rows[1].primary + "|" + a.rows[1].secondary + "|" + a.rows[1].ratio, "无信号|0.443|");
    EXPECT_EQ(a.rows[2].primary + "|" + a.rows[2].ratio, "OL|");
    const auto texts = textsOf(report::layoutReport({{}, a, "", "1.0.1"}, kMeasure, kA4).pages.at(0));
    EXPECT_EQ(count(texts, "无信号"), 1);
    EXPECT_EQ(count(texts, "OL"), 1);
    EXPECT_EQ(count(texts, "53.1"), 0) << "no current the instrument disowned";
    EXPECT_EQ(count(texts, "119.8"), 0) << "and no ratio from it";
}

// A header line cut short: whole where it fits, else the longest beginning that fits with "…";
// line feeds stand as blanks.
TEST(Report, AHeaderTooLongIsCutShortWithAnEllipsis) {
    const platform::PrintFont font{"宋体", 10, false}; // an ASCII letter 100 twips wide, "…" 200
    EXPECT_EQ(report::elideText("abcde", 500, font, kMeasure), "abcde");
    EXPECT_EQ(report::elideText("ab\ncd", 500, font, kMeasure), "ab cd");
    EXPECT_EQ(report::elideText("abcdefgh", 500, font, kMeasure), "abc…");
    EXPECT_EQ(report::elideText("ab    cdefgh", 500, font, kMeasure), "ab…")
        << "no blanks before the ellipsis";
    EXPECT_EQ(report::elideText("变电站变电站", 500, font, kMeasure), "变…");
    EXPECT_EQ(report::elideText("abc", 100, font, kMeasure), "…");
}

TEST(Report, ParticularsOfAnyLengthWrapWholeInTheirColumns) {
    // Chinese, Latin words, quotes and a word longer than any column.
    const std::string chunk = "城南110kV变电站 \"Main Bus\" 一号主变 'T1' 高压侧CT-A-0001 测试";
    for (const std::size_t length : {std::size_t{0}, std::size_t{30}, std::size_t{200}}) {
        std::string text =
            length > 30 ? "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 " : "";
        for (std::size_t n = text.size(), at = 0; n < length; ++n) {
            const std::size_t size = static_cast<unsigned char>(chunk[at]) >= 0xE0 ? 3 : 1;
            text += chunk.substr(at, size); // a character at a time, the chunk over and over
            at = (at + size) % chunk.size();
        }
        const report::Particulars particulars{text, text + "#", "A", text + "*", text + "~"};
        for (const platform::Paper& paper : {kA4, kLetter}) {
            const platform::Document doc = report::layoutReport(
                {particulars, groupsOf(70), "2026-12-09 10:00:00", "1.0.1"}, kMeasure, paper);
            const std::string what = std::to_string(length) + " characters";
            expectLaidOutClear(doc, what);
            const auto whole = [&](const std::string& s) { return s.empty() ? "—" : withoutBlanks(s); };
            EXPECT_EQ(withoutBlanks(valueBeside(doc, "变电站:")), whole(particulars.station)) << what;
            EXPECT_EQ(withoutBlanks(valueBeside(doc, "设备名称/编号:")), whole(particulars.device)) << what;
            EXPECT_EQ(withoutBlanks(valueBeside(doc, "试验人员:")), whole(particulars.tester)) << what;
            EXPECT_EQ(withoutBlanks(valueBeside(doc, "备注:")), whole(particulars.remark)) << what;
            // Later pages are headed by the title and the device, cut short to the page.
            ASSERT_GT(doc.pages.size(), 1u);
            const std::string head = doc.pages[1].front().text;
            EXPECT_TRUE(head.starts_with("电流互感器变比试验报告 (续)")) << head;
            EXPECT_EQ(head.ends_with("…"), length == 200) << head;
        }
    }
}

TEST(Report, PaperSmallerThanTheReportGetsItLaidOutLargerInItsProportions) {
    const platform::Paper a5{8391, 11906};
    const platform::Document doc = report::layoutReport({{}, groupsOf(20), "", "1.0.1"}, kMeasure, a5);
    EXPECT_NEAR(doc.widthTwips / doc.heightTwips, a5.widthTwips / a5.heightTwips, 1e-9);
    EXPECT_GE(doc.widthTwips, kA4.widthTwips);
    expectLaidOutClear(doc, "A5");
}

} // namespace
} // namespace hvr
