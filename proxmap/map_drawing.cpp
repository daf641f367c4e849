#include "map_drawing.h"

#include <cmath>
#include <iterator>

#include "constants.h"
#include "map_constants.h"
#include "output.h"
#include "star_symbols.h"

namespace vldr {
namespace {

void printRings(const MapLayout& layout)
{
    const double flattening = std::sin(layout.view.tilt * kRadiansPerDegree);
    writeLine("<g class=\"plane\">");
    for (int ring = 1; ring <= layout.ringCount; ++ring) {
        const double lightYears = layout.ringStep * ring;
        const double rx = lightYears * layout.scale;
        writeFormatted("<ellipse cx=\"0\" cy=\"0\" rx=\"%.1f\" ry=\"%.1f\" fill=\"none\" stroke=\"%s\"/>\n", rx,
                       rx * flattening, kRingColour);
        writeFormatted("<text x=\"%.1f\" y=\"-3\" font-size=\"%g\" fill=\"%s\">%g ly</text>\n", rx + 3,
                       kLabelFontSize, kRingLabelColour, lightYears);
    }
    writeLine("</g>");
}

// A line from the centre to end with a text there.
void printMark(const ScreenPoint& end, const char* text)
{
    writeFormatted("<line x1=\"0\" y1=\"0\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"%s\" stroke-dasharray=\"6 4\"/>\n", end.x,
                   end.y, kMarkColour);
    writeFormatted("<text x=\"%.1f\" y=\"%.1f\" font-size=\"%g\" fill=\"%s\" text-anchor=\"middle\">%s</text>\n", end.x,
                   end.y - 4, kLabelFontSize, kMarkColour, text);
}

void printStalks(const MapLayout& layout)
{
    writeLine("<g class=\"stalks\">");
    for (const MapDot& dot : layout.dots) {
        writeFormatted("<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"%s\"%s/>\n", dot.foot.x,
                       dot.foot.y, dot.at.x, dot.at.y, kStalkColour,
                       dot.belowPlane ? " stroke-dasharray=\"3 2\"" : "");
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
    writeFormatted("<circle cx=\"%.1f\" cy=\"%.1f\" r=\"%.1f\" fill=\"%s\" stroke=\"%s\" stroke-width=\"0.5\"/>",
                   dot.at.x, dot.at.y, dot.radius, lookOf(dot.kind).colour, kDotOutlineColour);
    if (dot.labelled) {
        writeFormatted("<text x=\"%.1f\" y=\"%.1f\" font-size=\"%g\" fill=\"%s\">", dot.at.x + dot.radius + kLabelGap,
                       dot.at.y + kLabelFontSize / 3, kLabelFontSize, kLabelColour);
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

// The legend along the bottom: one coloured dot per kind of star.
void printLegend()
{
    const double top = kMapSize / 2 + kLegendHeight / 3;
    const double spacing = kMapSize / static_cast<double>(std::size(kStarKindLooks));
    writeLine("<g class=\"legend\">");
    double x = -kMapSize / 2 + kLabelGap * 3;
    for (const StarKindLook& look : kStarKindLooks) {
        writeFormatted("<circle cx=\"%.1f\" cy=\"%.1f\" r=\"%g\" fill=\"%s\" stroke=\"%s\" stroke-width=\"0.5\"/>", x, top,
                       kDotRadiusAtReference * 2, look.colour, kDotOutlineColour);
        writeFormatted("<text x=\"%.1f\" y=\"%.1f\" font-size=\"%g\" fill=\"%s\">", x + kDotRadiusAtReference * 2 + kLabelGap,
                       top + kLabelFontSize / 3, kLabelFontSize, kLabelColour);
        writeXmlText(look.legend);
        writeLine("</text>");
        x += spacing;
    }
    writeFormatted("<text x=\"%.1f\" y=\"%.1f\" font-size=\"%g\" fill=\"%s\">Larger dots: brighter stars "
                   "(absolute visual magnitude). Solid stalks rise above the galactic plane, dashed ones hang "
                   "below.</text>\n",
                   -kMapSize / 2 + kLabelGap * 3, top + kLegendHeight / 2, kLabelFontSize, kRingLabelColour);
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
    writeLine("<g class=\"stars\">");
    for (const MapDot& dot : layout.dots) printDot(dot);
    writeLine("</g>");
    printCentre(centreName);
    printLegend();
    writeLine("</svg>");
}

}  // namespace vldr
