// The test report's pages: every group once under a header repeated on each page, the numbering
// of the pages, the signatures last.
#include <gtest/gtest.h>

#include <string>

#include "analysis/group_analysis.h"
#include "report/report_layout.h"
#include "tests/support/store_builder.h"

namespace hvr {
namespace {

std::vector<std::string> textsOf(const std::vector<platform::PageMark>& page) {
    std::vector<std::string> texts;
    for (const auto& m : page)
        if (m.kind == platform::PageMark::Kind::Text) texts.push_back(m.text);
    return texts;
}

int count(const std::vector<std::string>& texts, const std::string& text) {
    return static_cast<int>(std::count(texts.begin(), texts.end(), text));
}

TEST(Report, EveryGroupOnceUnderItsHeaderOnNumberedPages) {
    for (const int groups : {0, 1, report::kFirstPageRows, report::kFirstPageRows + 1,
                             report::kFirstPageRows + 2 * report::kPageRows, 4600}) {
        RecordStore store;
        for (int g = 0; g < groups; ++g)
            testing::putGroup(store, g, {10000 + g, '1', 6000, '2', 498});
        const auto analysis = analysis::analyseGroups(store, kStoreSlots, verdict::parseNameplate("600/5"),
                                                      verdict::AccuracyClass::C0_5);
        const platform::Document doc =
            report::layoutReport({{"城南", "CT-1", "A", "王工", ""}, analysis, "", "1.0.1"});

        const int tablePages =
            groups <= report::kFirstPageRows
                ? 1
                : 1 + (groups - report::kFirstPageRows + report::kPageRows - 1) / report::kPageRows;
        ASSERT_GE(static_cast<int>(doc.pages.size()), tablePages) << groups;
        ASSERT_LE(static_cast<int>(doc.pages.size()), tablePages + 1)
            << groups << ": the signatures at most overflow";
        int seen = 0;
        for (std::size_t n = 0; n < doc.pages.size(); ++n) {
            const auto texts = textsOf(doc.pages[n]);
            const std::string footer =
                "第 " + std::to_string(n + 1) + " 页 共 " + std::to_string(doc.pages.size()) + " 页";
            EXPECT_EQ(count(texts, footer), 1) << groups << " groups, page " << n + 1;
            EXPECT_EQ(count(texts, "组号"), static_cast<int>(n) < tablePages ? 1 : 0)
                << groups << ", page " << n + 1;
            EXPECT_EQ(count(texts, "审核:"), n + 1 == doc.pages.size() ? 1 : 0)
                << "signatures on the last page";
            for (const auto& m : doc.pages[n]) {
                EXPECT_GE(m.y0, 0);
                EXPECT_LE(std::max(m.y0, m.y1) + 300, doc.heightTwips) << "inside the page: " << m.text;
            }
            for (const std::string& t : texts)
                if (t == std::to_string(10000 + seen)) ++seen; // groups in store order, each once
        }
        EXPECT_EQ(seen, groups);
        EXPECT_EQ(count(textsOf(doc.pages[0]), groups ? "合格" : "未判定"),
                  groups ? std::min(groups, report::kFirstPageRows) + 1 : 1)
            << "the overall verdict, and each row's";
    }
}

} // namespace
} // namespace hvr
