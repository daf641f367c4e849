#include "map_drawing.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "constants.h"
#include "map_constants.h"
#include "output.h"
#include "star_symbols.h"

namespace vldr {
namespace {

// A coordinate of the drawing as written: whole SVG units (finer than the
// eye tells apart on the map, and far cheaper to print), held within
// kFarthestCoordinate so that any position prints as a plain number.
long unit(double coordinate)
{
    return std::lround(std::clamp(coordinate, -kFarthestCoordinate, kFarthestCoordinate));
}

void printRings(const MapLayout& layout)
{
    const double flattening = std::sin(layout.view.tilt * kRadiansPerDegree);
    writeLine("<g class=\"plane\">");
    for (int ring = 1; ring <= layout.ringCount; ++ring) {
        const double lightYears = layout.ringStep * ring;
        const double rx = lightYears * layout.scale;
        writeFormatted("<ellipse cx=\"0\" cy=\"0\" rx=\"%ld\" ry=\"%ld\" fill=\"none\" stroke=\"%s\"/>\n", unit(rx),
                       unit(rx * flattening), kRingColour);
        writeFormatted("<text x=\"%ld\" y=\"-3\" font-size=\"%g\" fill=\"%s\">%g ly</text>\n", unit(rx + 3),
                       kLabelFontSize, kRingLabelColour, lightYears);
    }
    writeLine("</g>");
}

// A line from the centre to end with a text there.
void printMark(const ScreenPoint& end, const char* text)
{
    writeFormatted("<line x1=\"0\" y1=\"0\" x2=\"%ld\" y2=\"%ld\" stroke=\"%s\" stroke-dasharray=\"6 4\"/>\n", unit(end.x),
                   unit(end.y), kMarkColour);
    writeFormatted("<text x=\"%ld\" y=\"%ld\" font-size=\"%g\" fill=\"%s\" text-anchor=\"middle\">%s</text>\n",
                   unit(end.x), unit(end.y - kLabelGap), kLabelFontSize, kMarkColour, text);
}

void printStalks(const MapLayout& layout)
{
    writeFormatted("<g class=\"stalks\" stroke=\"%s\">\n", kStalkColour);
    for (const MapDot& dot : layout.dots) {
        writeFormatted("<line x1=\"%ld\" y1=\"%ld\" x2=\"%ld\" y2=\"%ld\"%s/>\n", unit(dot.foot.x), unit(dot.foot.y),
                       unit(dot.at.x), unit(dot.at.y), dot.belowPlane ? " stroke-dasharray=\"3 2\"" : "");
    }
    writeLine("</g>");
}

// The tooltip of a dot: name, distance from the centre, class.
void printTooltip(const MapDot& dot)
{
    writeText("<title>");
    writeXmlText(dot.name);
    writeFormatted(", %g light-years, class ", dot.distance);
    writeXmlText(dot.classText.empty() ? "unknown" : dot.classText);
    writeText("</title>");
}

void printDot(const MapDot& dot)
{
    writeFormatted("<a class=\"star\" href=\"sysview.exe?ID=%d\">", static_cast<int>(dot.systemId));
    printTooltip(dot);
    writeFormatted("<circle cx=\"%ld\" cy=\"%ld\" r=\"%.1f\" fill=\"%s\"/>", unit(dot.at.x), unit(dot.at.y),
                   dot.radius, lookOf(dot.kind).colour);
    if (dot.labelled) {
        writeFormatted("<text x=\"%ld\" y=\"%ld\" stroke=\"none\">", unit(dot.at.x + dot.radius + kLabelGap),
                       unit(dot.at.y + kLabelFontSize / 3));
        writeXmlText(dot.name);
        writeText("</text>");
    }
    writeLine("</a>");
}

void printCentre(const std::string& centreName)
{
    writeFormatted("<g class=\"centre\"><path d=\"M -%g 0 H %g M 0 -%g V %g\" stroke=\"%s\" stroke-width=\"1.5\"/>",
                   kCentreMarkSize, kCentreMarkSize, kCentreMarkSize, kCentreMarkSize, kMarkColour);
    writeFormatted("<text x=\"%g\" y=\"%g\" font-size=\"%g\" fill=\"%s\">", kCentreMarkSize + kLabelGap,
                   kLabelFontSize / 3, kLabelFontSize, kMarkColour);
    writeXmlText(centreName);
    writeLine("</text></g>");
}

// The legend along the bottom: one coloured dot per kind of star, and what
// the sizes and stalks mean.
void printLegend()
{
    const double top = kMapSize / 2 + kLegendHeight / 3;
    const double left = -kMapSize / 2 + kLabelGap * 3;
    const double spacing = kMapSize / static_cast<double>(std::size(kStarKindLooks));
    const double radius = kDotRadiusAtReference * 2;
    writeFormatted("<g class=\"legend\" stroke=\"%s\" stroke-width=\"0.5\" font-size=\"%g\" fill=\"%s\">\n",
                   kDotOutlineColour, kLabelFontSize, kLabelColour);
    double x = left;
    for (const StarKindLook& look : kStarKindLooks) {
        writeFormatted("<circle cx=\"%ld\" cy=\"%ld\" r=\"%g\" fill=\"%s\"/><text x=\"%ld\" y=\"%ld\" stroke=\"none\">",
                       unit(x), unit(top), radius, look.colour, unit(x + radius + kLabelGap),
                       unit(top + kLabelFontSize / 3));
        writeXmlText(look.legend);
        writeLine("</text>");
        x += spacing;
    }
    writeFormatted("<text x=\"%ld\" y=\"%ld\" stroke=\"none\" fill=\"%s\">Larger dots: brighter stars "
                   "(absolute visual magnitude). Solid stalks rise above the galactic plane, dashed ones hang "
                   "below.</text>\n",
                   unit(left), unit(top + kLegendHeight / 2), kRingLabelColour);
    writeLine("</g>");
}

}  // namespace

void printMapDrawing(const MapLayout& layout, const std::string& centreName)
{
    const double half = kMapSize / 2;
    writeFormatted("<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"map\" width=\"%g\" height=\"%g\" "
                   "viewBox=\"%g %g %g %g\" font-family=\"sans-serif\">\n",
                   kMapSize, kMapSize + kLegendHeight, -half, -half, kMapSize, kMapSize + kLegendHeight);
    writeFormatted("<rect x=\"%g\" y=\"%g\" width=\"%g\" height=\"%g\" fill=\"%s\"/>\n", -half, -half, kMapSize,
                   kMapSize + kLegendHeight, kBackgroundColour);
    printRings(layout);
    printMark(layout.galacticCentreMark, "toward the galactic centre");
    printMark(layout.northMark, "galactic north");
    printStalks(layout);
    // What every dot and label shares is written once, on the group.
    writeFormatted("<g class=\"stars\" stroke=\"%s\" stroke-width=\"0.5\" font-size=\"%g\" fill=\"%s\">\n",
                   kDotOutlineColour, kLabelFontSize, kLabelColour);
    for (const MapDot& dot : layout.dots) printDot(dot);
    writeLine("</g>");
    printCentre(centreName);
    printLegend();
    writeLine("</svg>");
}

}  // namespace vldr
