#!/usr/bin/env bash
# Measures the VLDR ODBC driver against floors taken in the same run:
# the 8-column scan of Positions through the driver beside the same scan
# and arithmetic through SQLite's own C interface, the peak memory of the
# scan, and connect-and-exit beside the SQLite3 ODBC driver's data source.
#
#   bench/driver_scan.sh [BUILD_DIR] [RUNS] [ROWS ...]
#
# BUILD_DIR defaults to build/ (it must hold lib/libvldrodbc.so and
# lib/vldr_sqlite_ext.so), RUNS to 11, ROWS to "100000 1000000".
# Databases and configurations are built under /tmp and removed at the end.
# With VLDR_CALLGRIND=1, also records a callgrind profile of the driver's
# scan of the first size and prints its top functions.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$here/build}")
runs=${2:-11}
sizes=(100000 1000000)
if [ $# -gt 2 ]; then sizes=("${@:3}"); fi

work=$(mktemp -d /tmp/driver-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT
gcc -O2 -I"$here/common" -o "$work/driver_scan" "$here/bench/driver_scan.c" -lodbc -lsqlite3 -lm

# A database of n systems' positions (random, within the schema's checks).
make_db() {
    local n=$1 db=$2
    "$here/db/build-db" "$db"
    sqlite3 "$db" "WITH RECURSIVE i(k) AS (SELECT 1 UNION ALL SELECT k + 1 FROM i WHERE k < $n)
        INSERT INTO Positions (OwnerID, RA_hr, RA_min, RA_sec, Dec_deg, Dec_arcmin, Dec_arcsec, Distance)
        SELECT k * 100, abs(random()) % 24, abs(random()) % 60, (abs(random()) % 6000) / 100.0,
               abs(random()) % 181 - 90, abs(random()) % 60, (abs(random()) % 600) / 10.0,
               (abs(random()) % 200000) / 1000.0 FROM i;"
}

# Median wall-clock milliseconds of a command over $runs runs.
median_ms() {
    local times=() start end
    for ((r = 0; r < runs; r++)); do
        start=$(date +%s%N)
        "$@" > /dev/null 2>&1
        end=$(date +%s%N)
        times+=($(((end - start) / 1000)))
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END { printf "%.1f", v[int((NR + 1) / 2)] / 1000 }'
}

peak_kb() {
    "$@" 2>&1 >/dev/null | awk '/^peak/ { print $2 }'
}

with_dsn() {
    local dir=$1
    shift
    ODBCSYSINI="$dir" ODBCINI="$dir/odbc.ini" "$@"
}

echo "median of $runs runs, milliseconds (wall clock)"
for n in "${sizes[@]}"; do
    db=$work/vldr-$n.db
    make_db "$n" "$db"
    "$here/db/write-dsn" --driver vldr "$db" "$build/lib" "$work/odbc-vldr-$n"
    floor=$(median_ms "$work/driver_scan" sqlite "$db")
    driver=$(median_ms with_dsn "$work/odbc-vldr-$n" "$work/driver_scan" odbc)
    check_floor=$("$work/driver_scan" sqlite "$db" 2>/dev/null)
    check_driver=$(with_dsn "$work/odbc-vldr-$n" "$work/driver_scan" odbc 2>/dev/null)
    [ "$check_floor" = "$check_driver" ] || echo "  checksums differ: $check_floor / $check_driver"
    ratio=$(echo "scale=2; $driver / $floor" | bc -l)
    echo "scan of $n rows: SQLite C interface $floor, VLDR driver $driver (ratio $ratio);" \
         "peak memory (kB): C interface $(peak_kb "$work/driver_scan" sqlite "$db")," \
         "VLDR driver $(peak_kb with_dsn "$work/odbc-vldr-$n" "$work/driver_scan" odbc)"
done

n=${sizes[0]}
db=$work/vldr-$n.db
"$here/db/write-dsn" --driver sqlite3odbc "$db" "$build/lib" "$work/odbc-sqlite3odbc"
ours=$(median_ms with_dsn "$work/odbc-vldr-$n" "$work/driver_scan" connect)
theirs=$(median_ms with_dsn "$work/odbc-sqlite3odbc" "$work/driver_scan" connect)
echo "connect and exit: VLDR driver $ours, SQLite3 ODBC driver with the extension $theirs"
scan_theirs=$(median_ms with_dsn "$work/odbc-sqlite3odbc" "$work/driver_scan" odbc)
echo "scan of $n rows through the SQLite3 ODBC driver: $scan_theirs"

if [ "${VLDR_CALLGRIND:-0}" = 1 ]; then
    # Instructions (valgrind callgrind), steadier than wall clock on a busy machine.
    instructions() {
        local out=$1
        shift
        valgrind --tool=callgrind --callgrind-out-file="$out" "$@" > /dev/null 2>&1
        callgrind_annotate "$out" 2>/dev/null | awk '/PROGRAM TOTALS/ { gsub(",", "", $1); print $1 }'
    }
    floor_ir=$(instructions "$work/floor.out" "$work/driver_scan" sqlite "$db")
    driver_ir=$(ODBCSYSINI="$work/odbc-vldr-$n" ODBCINI="$work/odbc-vldr-$n/odbc.ini" \
        instructions "$work/driver.out" "$work/driver_scan" odbc)
    echo "instructions for the scan of $n rows: SQLite C interface $floor_ir, VLDR driver $driver_ir" \
         "(ratio $(echo "scale=2; $driver_ir / $floor_ir" | bc -l))"
    echo "where the driver's scan spends its instructions (callgrind, self cost):"
    callgrind_annotate "$work/driver.out" 2>/dev/null | grep -E '^ *[0-9,]+ \(' | grep -v 'PROGRAM TOTALS' | head -12 |
        sed -E 's/ \[[^]]*\]$//; s/\(sqlite3_stmt\*, .*\)/(...)/' | cut -c1-110
fi
