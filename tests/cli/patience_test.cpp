#include <gtest/gtest.h>

#include "cli/patience.h"

namespace hvr::cli {
namespace {

TEST(Patience, RunsOutOnlyAfterTheWholeTimeWithoutProgress) {
    Patience p(10);
    EXPECT_FALSE(p.exhausted(0, false, 100));
    EXPECT_FALSE(p.exhausted(0, false, 110));
    EXPECT_TRUE(p.exhausted(0, false, 110.5));
}

TEST(Patience, ProgressStartsTheTimeAgain) {
    Patience p(10);
    p.exhausted(0, false, 0);
    EXPECT_FALSE(p.exhausted(1, false, 9));
    EXPECT_FALSE(p.exhausted(1, false, 18));
    EXPECT_FALSE(p.exhausted(2, false, 19));
    EXPECT_TRUE(p.exhausted(2, false, 29.5));
}

TEST(Patience, TheLinkDeclaredLostStartsTheTimeAgain) {
    Patience p(10);
    p.exhausted(5, false, 0);
    EXPECT_FALSE(p.exhausted(5, true, 9)); // silence detected late: the recovery gets its full time
    EXPECT_FALSE(p.exhausted(5, true, 18));
    EXPECT_TRUE(p.exhausted(5, true, 19.5));
}

TEST(Patience, AnotherLossAfterARecoveryStartsItAgain) {
    Patience p(10);
    p.exhausted(5, true, 0);
    p.exhausted(5, false, 8); // back, but nothing new yet
    EXPECT_FALSE(p.exhausted(5, true, 9));
    EXPECT_FALSE(p.exhausted(5, true, 18));
    EXPECT_TRUE(p.exhausted(5, true, 19.5));
}

} // namespace
} // namespace hvr::cli
