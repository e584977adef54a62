// An archived test opened into the main window: history review at page 1, the store as the
// read filled it.
#include <gtest/gtest.h>

#include "records/row_format.h"
#include "tests/support/form_harness.h"
#include "tests/support/sim_listing.h"

namespace hvr {
namespace {

TEST(OpenArchivedTest, FillsTheStoreAsItsReadDidAndShowsPageOne) {
    const auto scenario = sim::Scenario::synthetic(60, 4);
    std::vector<protocol::FrameBytes> frames;
    for (int g = 1; g <= 60; ++g)
        frames.push_back(scenario.storedGroup(g));
    testing::FormHarness h;
    h.form->Form_Load();
    ASSERT_TRUE(h.form->OpenStoredFrames(frames));

    EXPECT_EQ(*platform::toGbk(h.form->ListingText()), testing::expectedListing(scenario))
        << "the read's listing";
    EXPECT_EQ(h.form->Text41.text(), "1/3页   60组");
    EXPECT_EQ(h.form->Text1.text(), formatRow(*h.form, 0));
    EXPECT_TRUE(h.form->Command5.visible()) << "history review";
    EXPECT_EQ(h.form->rec_frame[59], frames[59]);
}

} // namespace
} // namespace hvr
