// Luminosities of pairs as their names are composed, on a report filled in
// memory: sums, combined magnitudes, pairs within pairs, missing bodies.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "constants.h"
#include "body_names.h"
#include "report.h"

using namespace vldr;

namespace {

// System 100 at 10 parsecs: A (luminosity 2), B (unknown), C (0.5), D (unknown).
class BodyNames : public ::testing::Test {
protected:
    void SetUp() override
    {
        star(101, "A", 2.0);
        star(102, "B", kNoValue);
        star(103, "C", 0.5);
        star(104, "D", kNoValue);
        Report& r = report_;
        r.SystemPosition.hasDistance = true;
        r.SystemPosition.Distance = 10 / kParsecsPerLightYear;
    }
    void star(int id, const char* name, double luminosity)
    {
        Report& r = report_;
        r.Components[r.ComponentCount].ID = id;
        std::strcpy(r.Components[r.ComponentCount].Name, name);
        r.Photometry[r.ComponentCount].Luminosity = luminosity;
        ++r.ComponentCount;
    }
    // Adds an orbit; a combined apparent magnitude when magnitude is given.
    void pair(int id, int primary, int secondary, const double* magnitude = nullptr)
    {
        Report& r = report_;
        OrbitRecord& o = r.Orbits[r.OrbitCount++];
        o.ID = id;
        o.PrimaryID = primary;
        o.SecondaryID = secondary;
        if (magnitude) {
            o.hasMagnitudes = true;
            o.Magnitudes.hasApparentVMag = true;
            o.Magnitudes.ApparentVMag = *magnitude;
        }
    }

    Report report_;

    struct Named {
        std::string text;
        double luminosity = 0;
        bool known = true;
    };
    Named name(int id)
    {
        Named n;
        appendBodyName(report_, n.text, n.luminosity, n.known, id);
        return n;
    }
};

// Luminosity of apparent magnitude m at 10 parsecs.
double atTenParsecs(double m)
{
    return std::pow(2.512, 4.85 - m);
}

TEST_F(BodyNames, PairsSumTheirStarsOrUseTheirCombinedMagnitude)
{
    const double five = 5.0;
    pair(111, 101, 103);
    pair(112, 102, 103, &five);
    pair(113, 104, 103);
    Named n = name(111);
    EXPECT_EQ(n.text, "(A-C)");
    EXPECT_DOUBLE_EQ(n.luminosity, 2.5);
    EXPECT_TRUE(n.known);
    n = name(112);
    EXPECT_EQ(n.text, "(B-C)");
    EXPECT_NEAR(n.luminosity, atTenParsecs(5.0), 1e-12);
    EXPECT_TRUE(n.known);
    n = name(113);  // no combined magnitude
    EXPECT_FALSE(n.known);

    report_.SystemPosition.hasDistance = false;
    EXPECT_FALSE(name(112).known);
    report_.SystemPosition.hasDistance = true;
    report_.SystemPosition.Distance = -1;  // a logarithm that is not a number
    EXPECT_FALSE(name(112).known);
    report_.SystemPosition.Distance = 0;  // the magnitude gives no light at all
    n = name(112);
    EXPECT_TRUE(n.known);
    EXPECT_EQ(n.luminosity, 0.0);
}

TEST_F(BodyNames, PairWithinAPairAddsItsLuminosityToTheEarlierMembers)
{
    // The inner pair's light (here from its combined magnitude) is added to
    // what the earlier members gathered: A's 2 is kept, not replaced.
    const double five = 5.0;
    pair(111, 102, 103, &five);  // (B-C)
    pair(112, 101, 111);         // (A-(B-C))
    pair(113, 104, 114);         // (D-(B-C)): D unknown stays unknown
    pair(114, 102, 103, &five);  // (B-C) again, as a pair of its own
    pair(115, 104, 111);         // 111 is already 112's member
    Named n = name(112);
    EXPECT_EQ(n.text, "(A-(B-C))");
    EXPECT_NEAR(n.luminosity, 2.0 + atTenParsecs(5.0), 1e-12);
    EXPECT_TRUE(n.known);
    n = name(113);
    EXPECT_EQ(n.text, "(D-(B-C))");
    EXPECT_FALSE(n.known);
    n = name(115);  // a second membership is written like a cycle, adding no light
    EXPECT_EQ(n.text, "(D-<ERROR>)");
    EXPECT_FALSE(n.known);
}

TEST_F(BodyNames, MissingBodiesAndCyclesAreWrittenAsError)
{
    pair(111, 101, 109);  // no component 109
    pair(112, 148, 169);  // no pair 148, no planet 169
    pair(113, 113, 101);  // contains itself: the cycle adds no light and hides none
    Named n = name(111);
    EXPECT_EQ(n.text, "(A-<ERROR>)");
    EXPECT_DOUBLE_EQ(n.luminosity, 2.0);
    EXPECT_EQ(name(112).text, "(<ERROR>-<ERROR>)");
    n = name(113);
    EXPECT_EQ(n.text, "(<ERROR>-A)");
    EXPECT_TRUE(n.known);
    EXPECT_DOUBLE_EQ(n.luminosity, 2.0);
}

}  // namespace
