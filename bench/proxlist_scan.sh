#!/usr/bin/env bash
# Times one whole proxlist request against a database of many system
# positions, beside a plain sqlite3 command that reads the same columns of
# the same table: the cost of the scan over all of Positions.
#
#   bench/proxlist_scan.sh [BUILD_DIR] [SYSTEMS] [RUNS]
#
# BUILD_DIR defaults to build/ (it must hold bin/proxlist and
# lib/vldr_sqlite_ext.so), SYSTEMS to 100000, RUNS to 15. The database and
# its data-source configuration are built under /tmp and removed at the end.
# Prints the median wall-clock time of each command in milliseconds; with
# hyperfine installed, also its summary.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$here/build}")
systems=${2:-100000}
runs=${3:-15}
query=${PROXLIST_QUERY:-ly=20}

work=$(mktemp -d /tmp/proxlist-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT

# Systems 100, 200, ... scattered evenly through a sphere of 200
# light-years around the Sun (about the density of the solar neighbourhood,
# so that ly=20 lists a full page of 100), each with a spectrum for its first component
# and a system name, so that every listed line costs its two lookups.
awk -v n="$systems" 'BEGIN {
    srand(20240611);
    for (i = 1; i <= n; i++) {
        id = i * 100;
        ra = rand() * 24; dec = (rand() * 2 - 1);  # sine of the declination
        decDeg = atan2(dec, sqrt(1 - dec * dec)) * 57.29577951308232;
        sign = decDeg < 0 ? -1 : 1; a = decDeg * sign;
        printf "INSERT INTO Positions (OwnerID, RA_hr, RA_min, RA_sec, Dec_deg, Dec_arcmin, Dec_arcsec, Distance) "
        printf "VALUES (%d, %d, %d, %.2f, %d, %d, %.1f, %.3f);\n", id, int(ra), int((ra - int(ra)) * 60),
            int(((ra * 60) - int(ra * 60)) * 6000) / 100, sign * int(a), int((a - int(a)) * 60),
            int(((a * 60) - int(a * 60)) * 600) / 10, 200 * rand() ^ (1 / 3);
        printf "INSERT INTO ProperNames (OwnerID, Name, IsSystemName) VALUES (%d, %cStar %d%c, 1);\n", id, 39, i, 39;
        printf "INSERT INTO Spectra (OwnerID, SpectralClass, LuminosityClass) VALUES (%d, %cM%d%c, %cV%c);\n",
            id + 1, 39, i % 10, 39, 39, 39;
    }
}' > "$work/data.sql"
"$here/db/build-db" "$work/vldr.db" "$work/data.sql"
"$here/db/write-dsn" "$work/vldr.db" "$build/lib" "$work/odbc"
export ODBCSYSINI="$work/odbc" ODBCINI="$work/odbc/odbc.ini"

proxlist_cmd="QUERY_STRING='$query' '$build/bin/proxlist' > /dev/null"
sqlite_cmd="sqlite3 '$work/vldr.db' 'SELECT RA_hr, RA_min, RA_sec, Dec_deg, Dec_arcmin, Dec_arcsec, Distance, OwnerID FROM Positions' > /dev/null"

lines=$(QUERY_STRING="$query" "$build/bin/proxlist" | grep -c '^<BR><A ' || true)
echo "database: $systems system positions; request: QUERY_STRING=$query ($lines result lines)"

# Median wall-clock time of a shell command over $runs runs (milliseconds).
median_ms() {
    local times=() start end
    for ((i = 0; i < runs; i++)); do
        start=$(date +%s.%N)
        bash -c "$1"
        end=$(date +%s.%N)
        times+=("$(echo "($end - $start) * 1000" | bc -l)")
    done
    printf '%s\n' "${times[@]}" | sort -g | awk '{ v[NR] = $1 } END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.1f", m }'
}

echo "median of $runs runs (ms, bash loop with date +%s.%N):"
echo "  proxlist: $(median_ms "$proxlist_cmd")"
echo "  sqlite3:  $(median_ms "$sqlite_cmd")"

if command -v hyperfine > /dev/null; then
    hyperfine --warmup 2 --runs "$runs" --export-json "$work/times.json" \
        --command-name proxlist "$proxlist_cmd" --command-name sqlite3 "$sqlite_cmd"
    python3 -c 'import json, sys
for r in json.load(open(sys.argv[1]))["results"]:
    print("hyperfine median %-8s %.1f ms" % (r["command"], r["median"] * 1000))' "$work/times.json"
fi
