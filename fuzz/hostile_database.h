// Hostile databases for the whole-request targets: each fuzz input becomes
// a small VLDR database with values of every storage class in every column
// (numbers past the 32-bit range, text in number columns, blobs, NULLs,
// non-finite reals, malformed dates) and orbits that take an earlier pair
// as a member twice, read through the VLDR driver like the real one.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vldr::fuzz {

// Writes a data-source configuration for the VLDR driver (VLDR_LIB_DIR)
// whose database is a file in a folder of its own under TMPDIR, points
// ODBCSYSINI and ODBCINI at it, and reads the schema (db/schema.sql under
// VLDR_SOURCE_DIR). Stops the process with a message when it cannot.
void prepareHostileDataSource(const char* targetName);

// Replaces the data source's database with one built from the input.
// Stops the process with a message when the schema cannot be created.
void buildHostileDatabase(const std::uint8_t* data, std::size_t size);

}  // namespace vldr::fuzz
