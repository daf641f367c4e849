#include "map_layout.h"

#include <algorithm>
#include <cmath>

#include "star_symbols.h"

namespace vldr {
namespace {

// A label's box on the drawing (SVG units, y downward).
struct Box {
    double left = 0, top = 0, right = 0, bottom = 0;
};

bool overlaps(const Box& a, const Box& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

Box labelBox(double x, double y, double gap, double width)
{
    return Box{x + gap, y - kLabelHeight / 2, x + gap + width, y + kLabelHeight / 2};
}

bool insideMap(const Box& box)
{
    const double half = kMapSize / 2;
    return box.left >= -half && box.right <= half && box.top >= -half && box.bottom <= half;
}

// How far the map reaches (light-years): the farthest listed system, or
// the search radius when none is listed; never less than the smallest
// radius a search may have nor more than kLargestMapExtent.
double mapExtent(const MapData& data, const NeighbourRequest& request)
{
    double extent = data.results.lines.empty() ? request.ly : data.results.lines.back().distance;
    if (!std::isfinite(extent)) extent = request.ly;
    return std::clamp(extent, kSmallestRadius, kLargestMapExtent);
}

std::string classTextOf(const ResultLine& line)
{
    if (!line.hasSpectralClass) return "";
    if (line.luminosityClass.empty()) return line.spectralClass;
    return line.spectralClass + " " + line.luminosityClass;
}

double distanceFromSun(const GalacticPoint& place)
{
    return std::sqrt(place.x * place.x + place.y * place.y + place.z * place.z);
}

MapDot dotOf(const ResultLine& line, const std::optional<double>& apparentMagnitude, const GalacticPoint& centre,
             const MapView& view, double scale)
{
    MapDot dot;
    dot.systemId = line.systemId;
    dot.name = line.name;
    dot.distance = line.distance;
    dot.classText = classTextOf(line);
    dot.kind = line.hasSpectralClass ? starKindOf(line.spectralClass, line.luminosityClass) : StarKind::Unknown;
    std::optional<double> absolute;
    if (apparentMagnitude) absolute = absoluteVisualMagnitude(*apparentMagnitude, distanceFromSun(line.place));
    dot.radius = dotRadius(absolute);
    const GalacticPoint offset = offsetFrom(line.place, centre);
    dot.at = projectOffset(offset, view, scale);
    dot.foot = projectOffset(footInPlane(offset), view, scale);
    dot.belowPlane = offset.z < 0;
    return dot;
}

}  // namespace

double labelWidth(const std::string& text)
{
    return kLabelCharacterWidth * static_cast<double>(text.size());
}

void placeLabels(std::vector<MapDot>& dots, double centreLabelWidth)
{
    std::vector<Box> placed{labelBox(0, 0, kCentreMarkSize + kLabelGap, centreLabelWidth)};
    for (MapDot& dot : dots) {
        const Box box = labelBox(dot.at.x, dot.at.y, dot.radius + kLabelGap, labelWidth(dot.name));
        const bool free = std::none_of(placed.begin(), placed.end(), [&](const Box& other) { return overlaps(box, other); });
        dot.labelled = free && insideMap(box);
        if (dot.labelled) placed.push_back(box);
    }
}

MapLayout layOutMap(const MapData& data, const NeighbourRequest& request, const MapView& view)
{
    MapLayout layout;
    layout.view = view;
    const double extent = mapExtent(data, request);
    layout.ringStep = ringStep(extent);
    layout.ringCount = ringCount(extent, layout.ringStep);
    const double outer = layout.ringStep * layout.ringCount;
    layout.scale = kMapRadius / outer;
    layout.galacticCentreMark = projectOffset(GalacticPoint{outer * kCentreArrowReach, 0, 0}, view, layout.scale);
    layout.northMark = projectOffset(GalacticPoint{0, 0, outer * kNorthArrowReach}, view, layout.scale);
    for (std::size_t i = 0; i < data.results.lines.size(); ++i)
        layout.dots.push_back(dotOf(data.results.lines[i], data.apparentMagnitudes[i], data.centre, view, layout.scale));
    placeLabels(layout.dots, labelWidth(data.centreName));
    return layout;
}

}  // namespace vldr
