// The map's formulas: the oblique projection, the ring steps, the colour
// and size of a dot, the label rule, the view's checks, and the escapers
// the map page writes its texts with.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "map_layout.h"
#include "map_view.h"
#include "output.h"
#include "projection.h"
#include "query_string.h"
#include "star_symbols.h"
#include "view_links.h"

using namespace vldr;

namespace {

constexpr double kTolerance = 1e-9;

struct ProjectionCase {
    GalacticPoint offset;  // light-years
    double turn, tilt;     // degrees
    double x, y;           // expected, SVG units at scale 10
};

TEST(MapProjection, AxesLandWhereTheViewPutsThem)
{
    const double s = std::sqrt(0.5) * 10;
    const ProjectionCase cases[] = {
        {{1, 0, 0}, 0, 30, 10, 0},                  // the galactic centre lies to the right at turn 0
        {{0, 1, 0}, 0, 90, 0, -10},                 // from galactic north, +Y points up the drawing
        {{0, 1, 0}, 0, 0, 0, 0},                    // edge-on, +Y points straight away
        {{0, 0, 1}, 0, 0, 0, -10},                  // edge-on, galactic north is up
        {{0, 0, 1}, 123, 90, 0, 0},                 // from above, north is toward the viewer
        {{0, 0, 1}, 0, 30, 0, -10 * std::cos(30 * M_PI / 180)},
        {{1, 0, 0}, 90, 90, 0, -10},                // a quarter turn counterclockwise
        {{1, 1, 0}, 45, 90, 0, -2 * s},
        {{1, 0, 0}, -90, 45, 0, 10 * std::sin(45 * M_PI / 180)},  // turned clockwise: +X toward the viewer, below
    };
    for (const ProjectionCase& c : cases) {
        const ScreenPoint p = projectOffset(c.offset, MapView{c.turn, c.tilt}, 10);
        EXPECT_NEAR(p.x, c.x, 1e-6) << "turn " << c.turn << " tilt " << c.tilt;
        EXPECT_NEAR(p.y, c.y, 1e-6) << "turn " << c.turn << " tilt " << c.tilt;
    }
}

TEST(MapProjection, RingsAreFlattenedBySineOfTiltAndStalksAreVertical)
{
    const MapView view{17, 30};
    const ScreenPoint away = projectOffset(GalacticPoint{std::sin(17 * M_PI / 180), std::cos(17 * M_PI / 180), 0}, view, 100);
    EXPECT_NEAR(away.x, 0, 1e-6);
    EXPECT_NEAR(away.y, -50, 1e-6);  // a ring of radius 100 has ry = 100 sin 30
    const GalacticPoint star{3, -4, 2.5};
    const ScreenPoint dot = projectOffset(star, view, 10), foot = projectOffset(footInPlane(star), view, 10);
    EXPECT_NEAR(dot.x, foot.x, kTolerance);
    EXPECT_NEAR(foot.y - dot.y, 25 * std::cos(30 * M_PI / 180), 1e-9);
}

TEST(MapProjection, RingStepsAreRoundAndAtMostFourRingsReachTheExtent)
{
    const struct {
        double extent, step;
        int count;
    } cases[] = {{15, 5, 3}, {2, 0.5, 4}, {4.37, 2, 3}, {10, 5, 2}, {20, 5, 4}, {21, 10, 3}, {300, 100, 3},
                 {1e6, 5e5, 2}};
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(ringStep(c.extent), c.step) << c.extent;
        EXPECT_EQ(ringCount(c.extent, ringStep(c.extent)), c.count) << c.extent;
    }
}

TEST(StarSymbols, ColourFollowsTheSpectralClassOfThePrimary)
{
    const struct {
        const char* spectral;
        const char* luminosity;
        StarKind kind;
    } cases[] = {
        {"O9.5", "", StarKind::OB}, {"B8", "V", StarKind::OB}, {"A1", "V", StarKind::A}, {"F5", "IV-V", StarKind::F},
        {"G2", "V", StarKind::G},   {"K0", "", StarKind::K},   {"M5.5", "Ve", StarKind::M}, {"sdM1", "", StarKind::M},
        {"dM4", "", StarKind::M},   {"L3.5", "", StarKind::Brown}, {"T8", "", StarKind::Brown}, {"Y0", "", StarKind::Brown},
        {"DA2", "", StarKind::WhiteDwarf}, {"DQ6", "", StarKind::WhiteDwarf}, {"D", "", StarKind::WhiteDwarf},
        {"WD", "", StarKind::WhiteDwarf},  {"A0", "VII", StarKind::WhiteDwarf}, {" K3", "", StarKind::K},
        {"", "", StarKind::Unknown}, {"?", "", StarKind::Unknown}, {"sd", "", StarKind::Unknown},
    };
    for (const auto& c : cases) EXPECT_EQ(starKindOf(c.spectral, c.luminosity), c.kind) << '"' << c.spectral << '"';
    EXPECT_STREQ(lookOf(StarKind::WhiteDwarf).colour, "#ffffff");
    EXPECT_STREQ(lookOf(StarKind::Unknown).legend, "unknown");
}

TEST(StarSymbols, SizeGrowsWithBrightnessWithinItsBounds)
{
    EXPECT_DOUBLE_EQ(dotRadius(kReferenceMagnitude), kDotRadiusAtReference);
    EXPECT_DOUBLE_EQ(dotRadius(4.85), kDotRadiusAtReference + kDotRadiusPerMagnitude * (kReferenceMagnitude - 4.85));
    EXPECT_DOUBLE_EQ(dotRadius(-30.0), kLargestDotRadius);
    EXPECT_DOUBLE_EQ(dotRadius(25.0), kSmallestDotRadius);
    EXPECT_DOUBLE_EQ(dotRadius(std::nullopt), kUnknownMagnitudeDotRadius);

    // Absolute magnitude: the Sun at distance 0, the distance modulus at 10 parsecs, none for a negative distance.
    EXPECT_EQ(absoluteVisualMagnitude(-26.74, 0), 4.85);
    EXPECT_NEAR(*absoluteVisualMagnitude(11.05, 32.61633), 11.05, 1e-6);
    EXPECT_NEAR(*absoluteVisualMagnitude(0, 326.1633), -5, 1e-6);
    EXPECT_FALSE(absoluteVisualMagnitude(1, -4));
}

MapDot dotAt(double x, double y, const std::string& name)
{
    MapDot dot;
    dot.at = ScreenPoint{x, y, 0};
    dot.radius = 2;
    dot.name = name;
    return dot;
}

TEST(MapLabels, OnlyTheNearestOfACrowdedSpotIsLabelled)
{
    std::vector<MapDot> dots = {dotAt(100, 100, "Near"), dotAt(104, 103, "Crowding"), dotAt(100, 140, "Apart"),
                                dotAt(10, 0, "On the centre's label"), dotAt(340, 0, "Beyond the edge")};
    placeLabels(dots, labelWidth("Sol"));
    std::vector<bool> labelled;
    for (const MapDot& dot : dots) labelled.push_back(dot.labelled);
    EXPECT_EQ(labelled, (std::vector<bool>{true, false, true, false, false}));
}

TEST(MapView, TurnAndTiltAreCheckedAndStepped)
{
    const struct {
        const char* query;
        const char* fault;  // null: accepted with turn and tilt
        double turn, tilt;
    } cases[] = {
        {"", nullptr, 30, 30},
        {"Turn=-360&Tilt=90", nullptr, -360, 90},
        {"Turn=12.5&Tilt=0", nullptr, 12.5, 0},
        {"Turn=360.5", "Turn must be a number of degrees between -360 and 360.", 0, 0},
        {"Turn=", "Turn must be a number of degrees between -360 and 360.", 0, 0},
        {"Turn=30deg", "Turn must be a number of degrees between -360 and 360.", 0, 0},
        {"Turn=nan", "Turn must be a number of degrees between -360 and 360.", 0, 0},
        {"Tilt=-1", "Tilt must be a number of degrees between 0 and 90.", 0, 0},
        {"Tilt=1e3", "Tilt must be a number of degrees between 0 and 90.", 0, 0},
        {"Tilt=45.0", nullptr, 30, 45},
    };
    for (const auto& c : cases) {
        MapView view;
        const char* fault = readMapView(parseQueryString(c.query), view);
        if (c.fault) {
            EXPECT_STREQ(fault, c.fault) << c.query;
            continue;
        }
        EXPECT_EQ(fault, nullptr) << c.query;
        EXPECT_EQ(view.turn, c.turn) << c.query;
        EXPECT_EQ(view.tilt, c.tilt) << c.query;
    }
    EXPECT_EQ(turnedBy(MapView{0, 30}, -30).turn, 330);
    EXPECT_EQ(turnedBy(MapView{-360, 30}, 30).turn, 30);
    EXPECT_EQ(tiltedBy(MapView{0, 75}, 30).tilt, 90);
    EXPECT_EQ(tiltedBy(MapView{0, 10}, -30).tilt, 0);
}

TEST(MapLinks, TheSearchIsRepeatedWithoutTheViewAndEscaped)
{
    EXPECT_EQ(searchQuery("ID=100&Turn=60&ly=15&&Tilt=0&Tilt=5"), "ID=100&ly=15");
    EXPECT_EQ(searchQuery("Turn=1"), "");
    std::string storage;
    EXPECT_EQ(escapeUrlQuery("X=1 2&Y=\"<\xE9>\"#'", storage), "X=1%202&Y=%22%3C%E9%3E%22%23%27");
    EXPECT_EQ(escapeXml("A & <B> \"C\" 'D' \xC9\x01", storage), "A &amp; &lt;B&gt; &quot;C&quot; &#39;D&#39; \xC9?");
}

}  // namespace
