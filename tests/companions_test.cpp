// The companions of a component through the orbit hierarchy, on orbit
// tables filled in memory: membership, descent into pairs, the climb to
// containing orbits, order, de-duplication and cyclic data.
#include <gtest/gtest.h>

#include <vector>

#include "companions.h"
#include "report.h"

using namespace vldr;

namespace {

// System 100: components 101..109, pairs 111..149, planets 151..169.
class Companions : public ::testing::Test {
protected:
    Report report_;

    void orbit(int id, int primary, int secondary)
    {
        Report& r = report_;
        OrbitRecord& o = r.Orbits[r.OrbitCount++];
        o.ID = id;
        o.PrimaryID = primary;
        o.SecondaryID = secondary;
    }
    std::vector<int> companionsOf(int component)
    {
        int ids[kMaxCompanions];
        int count = -1;
        findCompanions(report_, component, count, ids);
        return std::vector<int>(ids, ids + count);
    }
};

TEST_F(Companions, NoOrbitsNoCompanions)
{
    EXPECT_TRUE(companionsOf(101).empty());
}

TEST_F(Companions, PlanetOfOneStarBelongsToThatStarOnly)
{
    orbit(111, 101, 102);
    orbit(112, 101, 151);
    orbit(113, 152, 102);
    EXPECT_EQ(companionsOf(101), std::vector<int>{151});
    EXPECT_EQ(companionsOf(102), std::vector<int>{152});
    EXPECT_TRUE(companionsOf(103).empty());
}

TEST_F(Companions, PlanetNamedByTwoOrbitsIsListedOnceInTableOrder)
{
    orbit(111, 101, 153);
    orbit(112, 152, 151);  // neither member is 101: not its planets
    orbit(113, 101, 152);
    orbit(114, 101, 153);
    orbit(115, 154, 101);
    EXPECT_EQ(companionsOf(101), (std::vector<int>{153, 152, 154}));
}

TEST_F(Companions, PlanetAroundAPairBelongsToEveryStarOfThePairAtAnyDepth)
{
    orbit(111, 101, 102);  // A-B
    orbit(112, 111, 103);  // (A-B)-C
    orbit(113, 112, 151);  // a planet around ((A-B)-C)
    orbit(114, 111, 152);  // a planet around (A-B)
    orbit(115, 104, 105);
    EXPECT_EQ(companionsOf(101), (std::vector<int>{151, 152}));
    EXPECT_EQ(companionsOf(102), (std::vector<int>{151, 152}));
    EXPECT_EQ(companionsOf(103), std::vector<int>{151});
    EXPECT_TRUE(companionsOf(104).empty());
}

TEST_F(Companions, MembersOfAnOrbitThatContainsThePlanetsOrbitShareItsPlanets)
{
    orbit(111, 102, 151);  // a planet around B
    orbit(112, 111, 103);  // C around (B-planet)
    orbit(113, 112, 104);  // D around that
    EXPECT_EQ(companionsOf(102), std::vector<int>{151});
    EXPECT_EQ(companionsOf(103), std::vector<int>{151});
    EXPECT_EQ(companionsOf(104), std::vector<int>{151});
    EXPECT_TRUE(companionsOf(101).empty());
    EXPECT_TRUE(isInOrbitTree(report_, 0, 104));
    EXPECT_FALSE(isInOrbitTree(report_, 2, 102));  // the climb never descends
}

TEST_F(Companions, PlanetDigitsAboveFiftyCount)
{
    orbit(111, 101, 150);
    orbit(112, 101, 170);
    orbit(113, 199, 101);
    EXPECT_EQ(companionsOf(101), (std::vector<int>{170, 199}));
}

TEST_F(Companions, CyclicOrbitDataEndTheSearch)
{
    // Regression: an orbit that contains itself climbed without end.
    orbit(111, 111, 151);
    orbit(112, 113, 152);
    orbit(113, 112, 101);
    orbit(114, 114, 114);
    EXPECT_TRUE(companionsOf(102).empty());
    EXPECT_EQ(companionsOf(101), std::vector<int>{152});
    EXPECT_FALSE(isInOrbitTree(report_, 0, 102));
    EXPECT_TRUE(isInOrbitTree(report_, 1, 101));
    EXPECT_FALSE(isInOrbitTree(report_, 3, 101));
    EXPECT_FALSE(isInOrbitTree(report_, 39, 101));
}

TEST_F(Companions, NeverWritesMoreThanTheCallersRoom)
{
    // A malformed table: 38 orbits share one ID and each binds two planets
    // of its own hundred; the last orbit puts that ID around star 101, so
    // 76 distinct planets climb to it.
    for (int k = 0; k < kMaxOrbits - 1; ++k) orbit(111, 151 + 100 * k, 152 + 100 * k);
    orbit(112, 111, 101);
    int ids[kMaxCompanions + 1];
    ids[kMaxCompanions] = -7;
    int count = 0;
    findCompanions(report_, 101, count, ids);
    EXPECT_EQ(count, kMaxCompanions);
    EXPECT_EQ(ids[kMaxCompanions], -7);
    EXPECT_EQ(ids[0], 151);
    EXPECT_EQ(ids[kMaxCompanions - 1], 2551);
}

}  // namespace
