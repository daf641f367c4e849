// Physical and angular factors, with the exact values the pages are computed with.
#pragma once

namespace vldr {

// Parsecs in one light-year (1 / 3.261633).
inline constexpr double kParsecsPerLightYear = 0.30659488667179907;
// Radians in one hour of right ascension.
inline constexpr double kRadiansPerHour = 0.26179938779914913;
// Radians in one degree (pi taken as 3.14159265358979).
inline constexpr double kRadiansPerDegree = 0.017453292519943278;
// A right angle in radians, used to turn a polar distance into a declination.
inline constexpr double kRightAngleRadians = 1.570796326794895;
// Radians in one arcsecond.
inline constexpr double kRadiansPerArcsecond = 4.848136811095356e-06;
// Parsecs in one astronomical unit (1 / 206265).
inline constexpr double kParsecsPerAU = 4.848132257047972e-06;
// Speed of light (km/s).
inline constexpr double kSpeedOfLight = 299792.458;
// Degrees of right ascension in one hour.
inline constexpr double kDegreesPerHour = 15.0;
// Parts of an hour (or of a degree) in one minute (or arcminute) and in one
// second (or arcsecond): the sexagesimal fractions.
inline constexpr double kPartsPerMinute = 1.0 / 60.0;
inline constexpr double kPartsPerSecond = 1.0 / 3600.0;

// The Sun's absolute visual magnitude.
inline constexpr double kSolarAbsoluteMagnitude = 4.85;
// Brightness ratio of one magnitude (rounded, not the exact fifth root of 100).
inline constexpr double kBrightnessRatioPerMagnitude = 2.512;

// Days and hours in one year.
inline constexpr double kDaysPerYear = 365.25;
inline constexpr double kHoursPerYear = 8766.0;
// Shortest orbital period shown in days rather than hours (years; one day).
inline constexpr double kOneDayInYears = 0.0027378507871321013;

// Equatorial to galactic rotation: row r gives galactic axis r from equatorial x, y, z.
inline constexpr double kGalacticRotation[3][3] = {
    {-0.0672, -0.8727, -0.4835},
    {0.4927, -0.4504, 0.7445},
    {-0.8676, -0.1884, 0.4602},
};

// Largest magnitude of a stored number that counts as a measurement. No
// quantity in the database comes near it (distances, periods, ages and
// masses stay below 1e13 in their units), and products of up to nine such
// numbers with the unit factors the pages use stay finite, so a page never
// computes an infinity from stored values.
inline constexpr double kLargestStoredNumber = 1e30;

// Fractions (relative errors, abundances) are shown as percentages.
inline constexpr double kPercentPerFraction = 100.0;

// Sentinels for derived values that cannot be computed.
inline constexpr double kNoAbsoluteMagnitude = -9999.0;
inline constexpr double kNoValue = -1.0;

}  // namespace vldr
