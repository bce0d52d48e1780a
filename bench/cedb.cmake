# The object-store benchmark compares against bare SQLite on the same rows.
set(BENCH_LIBRARIES PkgConfig::SQLITE3)
