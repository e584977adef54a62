#include <gtest/gtest.h>

#include "tests/support/form_harness.h"
#include "tests/support/store_builder.h"

namespace hvr {
namespace {

using testing::FakeDialogs;
using testing::FormHarness;

class Clear : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int i = 0; i < 200; ++i)
            testing::putGroup(*h.form, i, {i + 1, '1', 6000, '2', 500, 0, 1});
        h.form->rec_extra[7] = 42;
        h.form->CountStoredGroups();
        h.form->ShowPage(5);
        h.form->Command5.setEnabled(false);
        h.form->stored_count = 200;
        h.form->dl_request = 357;
        h.form->link_busy = 1;
        h.form->Text33.setVisible(true);
    }
    FormHarness h;
};

TEST_F(Clear, AsksFirstWithNoAsTheDefault) {
    h.form->Command2_Click();
    ASSERT_EQ(h.dialogs.boxes.size(), 1u);
    EXPECT_EQ(h.dialogs.boxes[0], (FakeDialogs::Box{"question", "是否清除？", "系统提示"}));
}

TEST_F(Clear, NoChangesNothingButTheReadButton) {
    const auto before = h.form->rec_sec_code;
    const std::string row = h.text("Text1");
    h.dialogs.answers = {false};
    h.form->Command2_Click();
    EXPECT_EQ(h.form->rec_sec_code, before);
    EXPECT_EQ(h.text("Text1"), row);
    EXPECT_EQ(h.form->current_page, 5);
    EXPECT_EQ(h.form->dl_request, 357);
    EXPECT_TRUE(h.form->Command5.enabled());
}

TEST_F(Clear, YesEmptiesTheStoreAndResetsTheDownload) {
    h.dialogs.answers = {true};
    h.form->Command2_Click();
    EXPECT_EQ(h.text("Text1"), "") << "blank, not the empty row, until a page is shown";
    EXPECT_EQ(h.text("Text26"), "");
    EXPECT_EQ(h.text("Text41"), "1/1页   0组");
    EXPECT_EQ(h.form->current_page, 1);
    EXPECT_EQ(h.form->ji_ge, 1);
    EXPECT_EQ(h.form->rec_sec_raw[10], 0);
    EXPECT_EQ(h.form->rec_extra[7], 0);
    EXPECT_EQ(h.form->rec_group_no[10], 11) << "group numbers stay";
    EXPECT_EQ(h.form->rec_low_batt[10], 1);
    EXPECT_EQ(h.form->stored_count, 0);
    EXPECT_EQ(h.form->dl_request, 257);
    EXPECT_EQ(h.form->link_state, Form1::kIdle);
    EXPECT_EQ(h.form->link_busy, 0);
    EXPECT_FALSE(h.form->Text33.visible());
    EXPECT_TRUE(h.form->Command5.enabled());

    h.form->Command3_Click();
    EXPECT_EQ(h.dialogs.boxes.back().text, "已经是第一页");
    EXPECT_EQ(h.text("Text1"), "    ");
}

TEST_F(Clear, MenuActsOnlyWhileTheButtonIsEnabled) {
    h.form->Command2.setEnabled(false);
    h.form->qikon_Click();
    EXPECT_TRUE(h.dialogs.boxes.empty());
    h.form->Command2.setEnabled(true);
    h.form->qikon_Click();
    EXPECT_EQ(h.dialogs.boxes.size(), 1u);
}

} // namespace
} // namespace hvr
