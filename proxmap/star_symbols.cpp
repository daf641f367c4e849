#include "star_symbols.h"

#include <algorithm>
#include <cmath>

#include "constants.h"
#include "magnitudes.h"

namespace vldr {
namespace {

bool isCapital(char c)
{
    return c >= 'A' && c <= 'Z';
}

bool isLowerCase(char c)
{
    return c >= 'a' && c <= 'z';
}

// A white dwarf's class: D alone or with a capital after it (DA, DQ, DZ), or WD.
bool isWhiteDwarfClass(std::string_view text)
{
    if (text.starts_with("WD")) return true;
    return text.starts_with('D') && (text.size() == 1 || isCapital(text[1]));
}

StarKind kindOfLetter(char letter)
{
    switch (letter) {
    case 'O': case 'B': case 'W': return StarKind::OB;
    case 'A': return StarKind::A;
    case 'F': return StarKind::F;
    case 'G': return StarKind::G;
    case 'K': return StarKind::K;
    case 'M': case 'C': case 'R': case 'N': case 'S': return StarKind::M;
    case 'L': case 'T': case 'Y': return StarKind::Brown;
    default: return StarKind::Unknown;
    }
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

}  // namespace

StarKind starKindOf(std::string_view spectralClass, std::string_view luminosityClass)
{
    const std::string_view text = trimmed(spectralClass);
    if (isWhiteDwarfClass(text) || trimmed(luminosityClass) == "VII") return StarKind::WhiteDwarf;
    std::size_t i = 0;
    while (i < text.size() && isLowerCase(text[i])) ++i;
    return i < text.size() ? kindOfLetter(text[i]) : StarKind::Unknown;
}

const StarKindLook& lookOf(StarKind kind)
{
    for (const StarKindLook& look : kStarKindLooks)
        if (look.kind == kind) return look;
    return kStarKindLooks[std::size(kStarKindLooks) - 1];
}

std::optional<double> absoluteVisualMagnitude(double apparentMagnitude, double distanceFromSun)
{
    if (!(distanceFromSun >= 0)) return std::nullopt;
    if (distanceFromSun == 0) return kSolarAbsoluteMagnitude;  // the Sun itself
    const double magnitude = absoluteMagnitude(apparentMagnitude, distanceFromSun);
    if (!std::isfinite(magnitude)) return std::nullopt;
    return magnitude;
}

double dotRadius(std::optional<double> absoluteMagnitude)
{
    if (!absoluteMagnitude) return kUnknownMagnitudeDotRadius;
    const double radius = kDotRadiusAtReference + kDotRadiusPerMagnitude * (kReferenceMagnitude - *absoluteMagnitude);
    return std::clamp(radius, kSmallestDotRadius, kLargestDotRadius);
}

}  // namespace vldr
