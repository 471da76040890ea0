#include "PlanShadow.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

std::vector<int> BasicInRow(const TPlanShadow& Shadow, int I, int N) {
    std::vector<int> Out;
    Shadow.ForEachBasic(I, N, [&](int J) { Out.push_back(J); });
    return Out;
}

TEST(PlanShadow, RecordsBothTestsAndTheCellsBetweenThem) {
    auto Shadow = std::make_unique<TPlanShadow>();
    EXPECT_TRUE(Shadow->Basic(Capacity, Capacity));
    EXPECT_TRUE(Shadow->Record(3, 70, 0.0, NonBasic));
    EXPECT_FALSE(Shadow->Basic(3, 70));
    EXPECT_FALSE(Shadow->Record(3, 70, NonBasic, -0.5));
    // Between the thresholds: basic for the potentials, not for the cycle search.
    EXPECT_TRUE(Shadow->Record(3, 70, -0.5, -0.00005));
    EXPECT_TRUE(Shadow->Basic(3, 70));
    EXPECT_FALSE(Shadow->Agrees());
    EXPECT_EQ(Shadow->NextInRow(3, 69, Capacity), 71);
    EXPECT_EQ(Shadow->PrevInColumn(70, 4), 2);
    EXPECT_FALSE(Shadow->Record(3, 70, -0.00005, 2.0));
    EXPECT_TRUE(Shadow->Agrees());
    EXPECT_EQ(Shadow->NextInRow(3, 69, Capacity), 70);
}

TEST(PlanShadow, FindsBasicCellsAcrossWordsWithinTheLimits) {
    auto Shadow = std::make_unique<TPlanShadow>();
    const int N = 130;
    for (int J = 1; J <= Capacity; ++J)
        if (J != 1 && J != 63 && J != 64 && J != 128 && J != 129)
            Shadow->Record(2, J, 0.0, NonBasic);
    for (int I = 1; I <= Capacity; ++I)
        if (I != 2 && I != 300)
            Shadow->Record(I, 64, 0.0, NonBasic);
    // Bits past N are an earlier, wider problem's: never reported.
    Shadow->Record(2, 200, NonBasic, 5.0);
    EXPECT_EQ(BasicInRow(*Shadow, 2, N), (std::vector<int>{1, 63, 64, 128, 129}));
    EXPECT_EQ(BasicInRow(*Shadow, 2, 128), (std::vector<int>{1, 63, 64, 128}));
    EXPECT_EQ(Shadow->NextInRow(2, 1, N), 63);
    EXPECT_EQ(Shadow->NextInRow(2, 129, N), -1);
    EXPECT_EQ(Shadow->PrevInRow(2, 63), 1);
    EXPECT_EQ(Shadow->PrevInRow(2, 1), -1);
    EXPECT_EQ(Shadow->NextInColumn(64, 2, 299), -1);
    EXPECT_EQ(Shadow->NextInColumn(64, 2, 300), 300);
    EXPECT_EQ(Shadow->PrevInColumn(64, 300), 2);
}

} // namespace
