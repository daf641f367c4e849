/* The neighbour scan: the statement that reads every row of Positions, in
   rowid order, with the eight columns a neighbour search binds. proxlist
   sends it, and the benchmarks time the same text; written in C so that the
   C benchmark shares it. */
#ifndef VLDR_NEIGHBOUR_SCAN_H
#define VLDR_NEIGHBOUR_SCAN_H

static const char kNeighbourScanStatement[] =
    "SELECT RA_hr, RA_min, RA_sec, Dec_deg, Dec_arcmin, Dec_arcsec, Distance, OwnerID FROM Positions";

#endif
