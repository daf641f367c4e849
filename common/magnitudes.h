// The magnitude formulas: the distance modulus, and magnitude to visual
// luminosity and back.
#pragma once

namespace vldr {

// Absolute visual magnitude of a star of apparent magnitude m seen from
// distance light-years: (m + 5) - 5 log10(parsecs). Not finite for a
// distance of 0 or below.
double absoluteMagnitude(double apparentMagnitude, double distanceLightYears);

// Apparent magnitude of a star of absolute magnitude seen from parsecs:
// absolute - 5 + 5 log10(parsecs).
double apparentMagnitudeAt(double absoluteMagnitude, double parsecs);

// Visual luminosity (Sun = 1) of a star of this absolute magnitude:
// 2.512^(4.85 - absolute).
double luminosityOf(double absoluteMagnitude);

// Absolute magnitude of a body of this visual luminosity (Sun = 1):
// 4.85 - 2.5 log10(luminosity).
double absoluteMagnitudeOfLuminosity(double luminosity);

}  // namespace vldr
