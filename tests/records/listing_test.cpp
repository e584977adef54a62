#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/gbk.h"
#include "tests/support/form_harness.h"
#include "tests/support/store_builder.h"

namespace hvr {
namespace {

using testing::FakeDialogs;
using testing::FormHarness;
using testing::Group;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Twenty-six groups of every kind a row can show.
const Group kGroups[26] = {
    {1, '1', 6000, '2', 500},       {2, '1', 5994, '2', 499},   {3, '1', 6005, '2', 501, 5},
    {4, '1', 6000, '2', 500, 0, 1}, {5, '1', 6000, '2', 4000},  {6, '1', 6000, '2', 3701, 0, 1},
    {7, '2', 2000, 'A', 1665},      {8, '2', 999, 'A', 830},    {9, '@', 900, 'B', 750},
    {10, 'A', 95, 'B', 5},          {11, '0', 999, '2', 832},   {12, '1', 1234, '2', 456},
    {13, '3', 1500, '@', 12},       {14, 'B', 5, 'B', 0},       {15, '1', 0, '2', 500},
    {16, '0', 1234, 'B', 1},        {17, '0', 11, 'B', 1},      {18, '1', 32767, '2', 2730},
    {19, '1', 6000, 'A', 100},      {20, '1', 6000, '@', 1000}, {21, '1', 6000, '2', 1000},
    {22, '1', 6000, 'C', 1500},     {23, 'C', 1500, '2', 500},  {24, '1', 7000, '1', 55, 5, 1},
    {25, '1', 6000, '2', 4800},     {26, '1', 6000, '2', 3700},
};

class Listing : public ::testing::Test {
  protected:
    std::string listing() {
        h.dialogs.saveAnswers = {std::string("/home/engineer/HVR/HVR.txt")};
        h.form->Command1_Click();
        return h.files.files.at("/home/engineer/HVR/HVR.txt");
    }
    FormHarness h;
};

TEST_F(Listing, EmptyStoreIsThirtyLines) {
    h.form->live_polling = 0;
    const std::string bytes = listing();
    EXPECT_EQ(bytes, readFile(HVR_TEST_DATA "/listing_empty.txt"));
    const auto text = platform::fromGbk(bytes);
    ASSERT_TRUE(text);
    EXPECT_EQ(std::count(text->begin(), text->end(), '\n'), 30);
}

TEST_F(Listing, TwentySixGroupsFillTwoPages) {
    for (int i = 0; i < 26; ++i)
        testing::putGroup(*h.form, i, kGroups[i]);
    const std::string bytes = listing();
    EXPECT_EQ(bytes, readFile(HVR_TEST_DATA "/listing_26.txt"));
    const auto text = platform::fromGbk(bytes);
    ASSERT_TRUE(text);
    EXPECT_EQ(std::count(text->begin(), text->end(), '\n'), 2 + 2 * 28);
    EXPECT_TRUE(text->ends_with("变比    第3页\r\n"));
}

TEST_F(Listing, SaveDialogStartsInTheWorkingDirectory) {
    listing();
    ASSERT_EQ(h.dialogs.saveRequests.size(), 1u);
    const auto& request = h.dialogs.saveRequests[0];
    EXPECT_EQ(request.directory, "/home/engineer/HVR");
    EXPECT_EQ(request.fileName, "HVR.txt");
    EXPECT_EQ(request.defaultExtension, ".txt");
    EXPECT_EQ(request.filter, ".txt");
    EXPECT_EQ(h.files.directories, (std::vector<std::string>{"/home/engineer/HVR"}));
}

TEST_F(Listing, CancelWritesNothing) {
    h.form->Command1_Click(); // the fake dialog cancels when it has no answer
    EXPECT_TRUE(h.files.files.empty());
    EXPECT_TRUE(h.dialogs.boxes.empty());
}

TEST_F(Listing, AFailedWriteKeepsTheOldFileAndSaysSo) {
    h.files.files["/home/engineer/HVR/HVR.txt"] = "earlier listing";
    h.files.failWrites = true;
    h.dialogs.saveAnswers = {std::string("/home/engineer/HVR/HVR.txt")};
    h.form->Command1_Click();
    EXPECT_EQ(h.files.files["/home/engineer/HVR/HVR.txt"], "earlier listing");
    ASSERT_EQ(h.dialogs.boxes.size(), 1u);
    EXPECT_EQ(h.dialogs.boxes[0], (FakeDialogs::Box{"message", "文件保存失败", "系统提示"}));
}

TEST_F(Listing, ACurveOnScreenIsSavedAsABitmap) {
    h.form->curve_mode = CurveState::kHistoryCurve;
    h.dialogs.saveAnswers = {std::string("/home/engineer/HVR/HVR.bmp")};
    h.form->Command1_Click();
    ASSERT_EQ(h.dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(h.dialogs.saveRequests[0].fileName, "HVR.bmp");
    EXPECT_EQ(h.dialogs.saveRequests[0].defaultExtension, ".bmp");
    EXPECT_TRUE(h.files.files.empty()) << "no listing";
    ASSERT_EQ(h.pictures.saved.size(), 1u);
    EXPECT_EQ(h.pictures.saved[0].path, "/home/engineer/HVR/HVR.bmp");
    EXPECT_EQ(h.pictures.saved[0].picture, h.form->picture1());
    EXPECT_EQ(h.pictures.saved[0].width, 11295);
    EXPECT_EQ(h.pictures.saved[0].height, 5775);
    EXPECT_TRUE(h.dialogs.boxes.empty());

    h.form->curve_mode = CurveState::kLiveCurve;
    h.form->live_polling = 1;
    h.pictures.failWrites = true;
    h.dialogs.saveAnswers = {std::string("/home/engineer/HVR/live.bmp")};
    h.form->Command1_Click();
    EXPECT_EQ(h.dialogs.saveRequests.back().fileName, "HVR.bmp");
    ASSERT_EQ(h.dialogs.boxes.size(), 1u);
    EXPECT_EQ(h.dialogs.boxes[0].text, "文件保存失败");
    EXPECT_EQ(h.dialogs.boxes[0].title, "系统提示");
}

TEST_F(Listing, MenuEntriesSaveWhateverTheButtonSays) {
    h.form->Command1.setEnabled(false);
    h.dialogs.saveAnswers = {std::string("/a.txt"), std::string("/b.txt")};
    h.form->k_Click();
    h.form->baoc___1_Click();
    EXPECT_EQ(h.files.files.size(), 2u);
}

TEST(Gbk, EncodesTheTextsOfTheListing) {
    EXPECT_EQ(platform::toGbk("■"), "\xA1\xF6");
    EXPECT_EQ(platform::toGbk("组数"), "\xD7\xE9\xCA\xFD");
    EXPECT_EQ(platform::toGbk("abc \r\n"), "abc \r\n");
    EXPECT_EQ(platform::fromGbk("\xA1\xF6"), "■");
    EXPECT_FALSE(platform::toGbk("\xFF\xFE").has_value()) << "not UTF-8";
    EXPECT_FALSE(platform::toGbk("😀").has_value()) << "no GBK form";
    const std::string big(100000, 'x');
    EXPECT_EQ(platform::toGbk(big), big);
}

} // namespace
} // namespace hvr
