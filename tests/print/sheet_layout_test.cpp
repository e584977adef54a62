// The printed sheet: its lines in place and in order, and the print action around it.
#include <gtest/gtest.h>

#include <tuple>

#include "texts/texts.h"
#include "print/form3.h"
#include "print/sheet_layout.h"
#include "records/row_format.h"
#include "tests/support/form_harness.h"
#include "tests/support/store_builder.h"

namespace hvr {
namespace {

using testing::FakePrinter;
using testing::FormHarness;

void fill(Form1& form, int groups) {
    for (int i = 0; i < groups; ++i)
        testing::putGroup(form, i, {i + 1, '1', 1000 + i, '2', 500 + i});
}

class Sheet : public ::testing::Test {
  protected:
    std::vector<FakePrinter::Text> print(int groups, std::int16_t sheet) {
        fill(*h.form, groups);
        h.form->CountStoredGroups();
        FakePrinter printer;
        h.form->PrintPage(printer, sheet);
        return printer.sheets.at(0);
    }
    FormHarness h;
};

TEST_F(Sheet, TitleAndHeaderOpenIt) {
    const auto lines = print(10, 0);
    ASSERT_EQ(lines.size(), 3u + 2 * 78 + 2);
    EXPECT_EQ(lines[0].text, "变比记录仪                     ");
    EXPECT_EQ(lines[0].font, (platform::PrintFont{"宋体", 20, true}));
    EXPECT_EQ(lines[0].x, 0);
    EXPECT_EQ(lines[0].y, 0);
    EXPECT_EQ(lines[1].text, "  ");
    EXPECT_EQ(lines[2].text, "   组数   一次电流      二次电流            变比          组数   一次电流      "
                             "二次电流              变比");
    EXPECT_EQ(lines[2].font.points, 10);
    EXPECT_EQ(lines[1].y, 500) << "below the title by the title's pitch";
    EXPECT_EQ(lines[3].font, (platform::PrintFont{"宋体", 9.5, true}));
    EXPECT_EQ(lines.back().text, "     ");
    EXPECT_EQ(lines.back().font.points, 7);
}

TEST_F(Sheet, TheRightHalfStandsOnTheLeftHalfsLine) {
    const auto lines = print(200, 0);
    for (int n = 0; n < 78; ++n) {
        const auto& left = lines[static_cast<std::size_t>(3 + 2 * n)];
        const auto& right = lines[static_cast<std::size_t>(4 + 2 * n)];
        EXPECT_EQ(left.x, 0);
        EXPECT_EQ(right.x, 6200);
        EXPECT_EQ(right.y, left.y) << n;
        EXPECT_EQ(left.text, formatRow(*h.form, n) + "  ");
        EXPECT_EQ(right.text, formatRow(*h.form, 78 + n));
        if (n > 0) {
            EXPECT_EQ(left.y - lines[static_cast<std::size_t>(1 + 2 * n)].y, 9.5 * 25) << "one pitch a line";
        }
    }
    EXPECT_EQ(lines[3 + 2 * 26].text, formatRow(*h.form, 26) + "  ") << "line 26: the second history page";
}

TEST_F(Sheet, TheLastGroupOfHundredFiftySevenStandsAloneOnTheSecondSheet) {
    const auto lines = print(157, 1);
    EXPECT_EQ(lines[3].text, formatRow(*h.form, 156) + "  ");
    EXPECT_NE(lines[3].text, "      ");
    for (std::size_t i = 4; i < 3 + 2 * 78; ++i)
        EXPECT_EQ(lines[i].text, i % 2 == 1 ? "      " : "    ") << i;
}

TEST_F(Sheet, SlotsBeyondTheStorePrintEmpty) {
    const auto lines = print(0, 51); // slots 7956…8111: the right half is past slot 8000
    EXPECT_EQ(lines[4 + 2 * 77].text, "    ");
    EXPECT_EQ(sheetCount(8000), 52);
}

class PrintAction : public ::testing::Test {
  protected:
    void SetUp() override {
        f.Form_Load();
        fill(f, 157);
        f.Command9_Click();
        f.Command4_Click(); // page 2
    }
    void expectHistoryAtPageOne() {
        EXPECT_EQ(f.current_page, 1);
        EXPECT_TRUE(f.Option2.value());
        EXPECT_TRUE(f.Text1.visible());
        EXPECT_EQ(f.Text1.text(), formatRow(f, 0));
        EXPECT_EQ(f.dayinlin, 0);
    }
    FormHarness h;
    Form1& f = *h.form;
};

TEST_F(PrintAction, AllSheetsAreTwoPagesAndEndInHistoryReview) {
    h.printing.inOptions = [](Form3& dialog) {
        EXPECT_EQ(dialog.Label1.text(), "共有:157组") << "counted before the dialog loads";
        dialog.Command2_Click();
    };
    f.Click("Command16");
    EXPECT_EQ(h.printing.printerDialogs, 1);
    EXPECT_EQ(h.printing.printer.sheets.size(), 2u) << "no page after the last sheet";
    EXPECT_EQ(h.printing.printer.finishes, 1);
    EXPECT_TRUE(h.dialogs.boxes.empty());
    expectHistoryAtPageOne();
}

TEST(PrintedSheets, NeverOneWithoutAGroup) {
    for (const auto& [groups, first, last, printed] :
         {std::tuple{156, "", "", 1u}, std::tuple{155, "-82.8", "2", 1u}, std::tuple{157, "", "", 2u}}) {
        FormHarness h;
        h.form->Form_Load();
        fill(*h.form, groups);
        h.printing.inOptions = [first, last](Form3& dialog) {
            if (*first != '\0') {
                dialog.SelectOption("Option1");
                dialog.Text1.setText(first);
                dialog.Text2.setText(last);
            }
            dialog.Command2_Click();
        };
        h.form->Command16_Click();
        EXPECT_EQ(h.printing.printer.sheets.size(), printed)
            << groups << " groups, " << first << " to " << last;
    }
}

TEST_F(PrintAction, CancelInEitherDialogPrintsNothing) {
    h.printing.inOptions = [](Form3& dialog) { dialog.Command3_Click(); };
    f.Command16_Click();
    EXPECT_EQ(h.printing.printerDialogs, 0);
    expectHistoryAtPageOne();

    f.Command4_Click();
    h.printing.inOptions = [](Form3& dialog) { dialog.Command2_Click(); };
    h.printing.choosesPrinter = false;
    f.Command16_Click();
    EXPECT_TRUE(h.printing.printer.sheets.empty());
    EXPECT_EQ(h.printing.printer.finishes, 0);
    expectHistoryAtPageOne();

    h.printing.inOptions = nullptr; // closed by the close box
    f.Command16_Click();
    EXPECT_EQ(h.printing.printerDialogs, 1);
}

TEST_F(PrintAction, AnEmptyRangeIsSaidAndBeginsNoDocument) {
    h.printing.inOptions = [](Form3& dialog) {
        dialog.SelectOption("Option1");
        dialog.Text1.setText("2");
        dialog.Text2.setText("1");
        dialog.Command2_Click();
    };
    f.Command16_Click();
    EXPECT_TRUE(h.printing.printer.sheets.empty());
    EXPECT_EQ(h.printing.printerDialogs, 0) << "said before any printer is chosen";
    ASSERT_EQ(h.dialogs.boxes.size(), 1u);
    EXPECT_EQ(h.dialogs.boxes[0].text, "打印开始页数大于结束页数");
}

TEST_F(PrintAction, AFailedPrinterIsSaidOnce) {
    h.printing.inOptions = [](Form3& dialog) { dialog.Command2_Click(); };
    h.printing.printer.fails = true;
    f.Command16_Click();
    ASSERT_EQ(h.dialogs.boxes.size(), 1u);
    EXPECT_EQ(h.dialogs.boxes[0].text, "打印失败");
    EXPECT_EQ(h.dialogs.boxes[0].title, "系统提示");
    expectHistoryAtPageOne();
}

TEST_F(PrintAction, TheWindowIsCreatedAnewWithItsLoad) {
    f.Text40.setText("连接成功");
    f.sec_max = 12345;
    f.Text35.setText("2.5");
    f.Option3.setValue(true);
    f.Option4.setValue(false);
    f.Command6_Click(); // a locked secondary limit
    h.printing.inOptions = [](Form3& dialog) { dialog.Command3_Click(); };
    f.Command16_Click();
    EXPECT_EQ(f.Text40.text(), "与KOVRA460连接失败") << "as designed";
    EXPECT_EQ(f.sec_max, 0) << "the load ran again";
    EXPECT_FALSE(h.port.isOpen()) << "the serial control went with the window";
    EXPECT_EQ(f.Command6.text(), "解除") << "the lock the variables hold";
    EXPECT_EQ(f.Text35.text(), "2.5");
}

TEST_F(PrintAction, WaitsWhileADownloadOrSortRuns) {
    f.dl_active = true;
    f.link_state = Form1::kExchanging;
    f.Command16_Click();
    EXPECT_EQ(h.printing.optionsShown, 0);
}

TEST_F(PrintAction, TheMenuEntryActsOnlyInHistoryReview) {
    f.Command11_Click();
    f.Click("d_uy_x");
    EXPECT_EQ(h.printing.optionsShown, 0);
    f.Command9_Click();
    f.Click("d_uy_x");
    EXPECT_EQ(h.printing.optionsShown, 1);
}

} // namespace
} // namespace hvr
