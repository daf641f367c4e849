/*
 * What decides whether a file may serve as the VLDR database, for both data
 * sources: a rollback journal that a crashed writer left (reading would
 * roll it back into the file), and the tables the programs read, which must
 * be tables (a view standing in for one could answer anything, or run
 * without end).
 *
 * Shared by the SQLite extension (db/vldr_sqlite_ext.c) and the VLDR ODBC
 * driver (driver/open_checks.cpp), so that both refuse the same files.
 * Include after <sqlite3.h> (or <sqlite3ext.h> in an extension), <fcntl.h>,
 * <stdio.h>, <string.h>, <sys/stat.h> and <unistd.h>.
 */
#ifndef VLDR_FILE_CHECKS_H
#define VLDR_FILE_CHECKS_H

/* The tables the programs read; a database without one of them is not ours. */
static const char *const kVldrTables[] = {
    "CatalogNames", "Systems",    "ProperNames", "CatalogNumbers", "Components", "Positions",
    "Spectra",      "Magnitudes", "Velocities",  "Orbits",         "Planets",
};
/* The position grid: a database may lack it, but where the name exists it
 * is a table. */
static const char kVldrGridTable[] = "PositionCells";

/* The header of a rollback journal that still holds pages to restore. */
static const unsigned char kVldrJournalMagic[8] = {0xd9, 0xd5, 0x05, 0xf9, 0x20, 0xa1, 0x63, 0xd7};
/* SQLite's lock bytes (unix VFS): a writer holds RESERVED while its journal is live. */
static const off_t kVldrReservedLockByte = 0x40000001;
/* Longest database path the checks handle (bytes, with the "-journal"). */
enum { kVldrMaxPathSize = 4096 };

/* Whether the file at path exists and holds at least one byte. */
static int vldrFileHasData(const char *path)
{
    struct stat status;
    return stat(path, &status) == 0 && status.st_size > 0;
}

/* Whether another process holds the RESERVED lock of the database at path:
 * a writer is at work, and its journal is live rather than left behind. */
static int vldrWriterHoldsReservedLock(const char *path)
{
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    struct flock lock;
    memset(&lock, 0, sizeof lock);
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = kVldrReservedLockByte;
    lock.l_len = 1;
    const int held = fcntl(fd, F_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
    close(fd);
    return held;
}

/* Whether a crashed writer left a hot journal beside the database at path:
 * a -journal with data that begins with the journal header while no writer
 * holds the file. A live journal is not one: reads wait for its writer
 * through the busy timeout, as for any lock. */
static int vldrHasHotJournal(const char *path)
{
    char journal[kVldrMaxPathSize];
    if (snprintf(journal, sizeof journal, "%s-journal", path) >= (int)sizeof journal) return 0;
    if (!vldrFileHasData(journal)) return 0;
    const int fd = open(journal, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    unsigned char magic[sizeof kVldrJournalMagic];
    const ssize_t got = pread(fd, magic, sizeof magic, 0);
    close(fd);
    if (got != (ssize_t)sizeof magic || memcmp(magic, kVldrJournalMagic, sizeof magic) != 0) return 0;
    return !vldrWriterHoldsReservedLock(path);
}

/* Whether the grid's name is taken in the open database by something that
 * is not a table. */
static int vldrGridIsNotATable(sqlite3 *db)
{
    sqlite3_stmt *statement = 0;
    int other = 0;
    if (sqlite3_prepare_v2(db, "SELECT 1 FROM main.sqlite_schema WHERE name = ?1 COLLATE NOCASE AND type <> 'table'",
                           -1, &statement, 0) == SQLITE_OK) {
        sqlite3_bind_text(statement, 1, kVldrGridTable, -1, SQLITE_STATIC);
        other = sqlite3_step(statement) == SQLITE_ROW;
    }
    sqlite3_finalize(statement);
    return other;
}

#endif
