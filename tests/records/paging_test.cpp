#include <gtest/gtest.h>

#include "texts/texts.h"
#include "tests/support/form_harness.h"
#include "tests/support/store_builder.h"
#include "tests/support/case_name.h"

namespace hvr {
namespace {

using testing::FakeDialogs;
using testing::FormHarness;

void fill(Form1& form, int groups) {
    for (int i = 0; i < groups; ++i)
        testing::putGroup(form, i, {i + 1, '1', 6000, '2', 500});
}

struct CountCase {
    int groups;
    int pages;
};

class PageCount : public ::testing::TestWithParam<CountCase> {};

TEST_P(PageCount, FollowsTheGroupCount) {
    FormHarness h;
    fill(*h.form, GetParam().groups);
    h.form->CountStoredGroups();
    EXPECT_EQ(h.form->ji_ge, GetParam().groups + 1);
    EXPECT_EQ(h.form->page_count, GetParam().pages);
}

INSTANTIATE_TEST_SUITE_P(Table, PageCount,
                         ::testing::Values(CountCase{0, 1}, CountCase{24, 1}, CountCase{25, 2},
                                           CountCase{26, 2}, CountCase{27, 2}, CountCase{50, 2},
                                           CountCase{51, 3}, CountCase{52, 3}, CountCase{53, 3},
                                           CountCase{4000, 154}, CountCase{8001, 308}),
                         [](const auto& info) {
                             return testing::caseName(info.index,
                                                      std::to_string(info.param.groups) + "_groups");
                         });

TEST(Paging, CountExaminesEverySlot) {
    FormHarness h;
    testing::putGroup(*h.form, 7000, {1, '1', 6000, '2', 500});
    h.form->CountStoredGroups();
    EXPECT_EQ(h.form->ji_ge, 2);
}

TEST(Paging, StatusTextNamesPageAndGroups) {
    FormHarness h;
    fill(*h.form, 290);
    h.form->CountStoredGroups();
    EXPECT_EQ(h.form->page_count, 12);
    EXPECT_EQ(h.form->PageStatusText(3), "3/12页   290组");
}

TEST(Paging, EmptyStoreStaysOnPageOneBothWays) {
    FormHarness h;
    h.form->Command3_Click();
    EXPECT_EQ(h.dialogs.boxes.back(), (FakeDialogs::Box{"message", "已经是第一页", "系统提示"}));
    EXPECT_EQ(h.text("Text41"), "1/1页   0组");
    for (int r = 1; r <= 26; ++r)
        EXPECT_EQ(h.text(("Text" + std::to_string(r)).c_str()), "    ");
    h.form->Command4_Click();
    EXPECT_EQ(h.dialogs.boxes.back(), (FakeDialogs::Box{"message", "已经是最后页", "系统提示"}));
    EXPECT_EQ(h.form->current_page, 1);
    EXPECT_EQ(h.dialogs.boxes.size(), 2u);
}

TEST(Paging, TwentySixGroupsHaveAnEmptySecondPage) {
    FormHarness h;
    fill(*h.form, 26);
    h.form->Command4_Click();
    EXPECT_TRUE(h.dialogs.boxes.empty());
    EXPECT_EQ(h.form->current_page, 2);
    EXPECT_EQ(h.text("Text41"), "2/2页   26组");
    EXPECT_EQ(h.text("Text1"), "    ");
    h.form->Command4_Click();
    EXPECT_EQ(h.dialogs.boxes.size(), 1u);
    EXPECT_EQ(h.form->current_page, 2);
    h.form->Command3_Click();
    EXPECT_EQ(h.form->current_page, 1);
    EXPECT_TRUE(h.text("Text1").starts_with("第0001组:"));
    EXPECT_TRUE(h.text("Text14").starts_with("第0014组:")) << "the right column starts at row 13";
}

TEST(Paging, NextPageReachesEveryPageOfAFullStore) {
    FormHarness h;
    fill(*h.form, 8001);
    for (int page = 2; page <= 308; ++page) {
        h.form->Command4_Click();
        ASSERT_EQ(h.form->current_page, page);
    }
    EXPECT_TRUE(h.dialogs.boxes.empty());
    // Page 308 holds slots 7982..8007; past 8000 the rows are empty.
    EXPECT_TRUE(h.text("Text19").starts_with("第8001组:"));
    EXPECT_EQ(h.text("Text20"), "    ");
    EXPECT_EQ(h.text("Text26"), "    ");
    h.form->Command4_Click();
    EXPECT_EQ(h.dialogs.boxes.size(), 1u);
}

struct JumpCase {
    const char* entry;
    int page;
    const char* boxAfter;
};

class JumpToPage : public ::testing::TestWithParam<JumpCase> {};

TEST_P(JumpToPage, CorrectsTheEntry) {
    FormHarness h;
    fill(*h.form, 250); // ten pages
    h.form->CountStoredGroups();
    ASSERT_EQ(h.form->page_count, 10);
    h.form->ShowPage(5);
    h.form->Text27.setText(GetParam().entry);
    h.form->Command8_Click();
    EXPECT_EQ(h.form->current_page, GetParam().page);
    EXPECT_EQ(h.text("Text27"), GetParam().boxAfter);
    EXPECT_EQ(h.text("Text41"), std::to_string(GetParam().page) + "/10页   250组");
    EXPECT_TRUE(h.dialogs.boxes.empty()) << "the jump box never complains";
}

INSTANTIATE_TEST_SUITE_P(
    Entries, JumpToPage,
    ::testing::Values(JumpCase{"0", 1, "1"}, JumpCase{"", 1, "1"}, JumpCase{"abc", 10, "10"},
                      JumpCase{"99", 10, "10"}, JumpCase{"3.5", 4, "3.5"}, JumpCase{"2.5", 2, "2.5"},
                      JumpCase{"7", 7, "7"}, JumpCase{" 8 ", 8, " 8 "}, JumpCase{"10", 10, "10"},
                      JumpCase{"10.4", 10, "10"}, JumpCase{"0.0", 1, "1"}, JumpCase{"-3", 5, "5"},
                      JumpCase{"0.4", 5, "5"}, JumpCase{"1e1", 10, "1e1"}, JumpCase{"3x", 10, "10"}),
    [](const auto& info) { return testing::caseName(info.index, std::string("entry_") + info.param.entry); });

} // namespace
} // namespace hvr
