# The future-list benchmark builds its store through the data code and compares the build with bare
# SQLite inserting the same number of rows.
set(BENCH_LIBRARIES DoveVO resources_dashel PkgConfig::SQLITE3)
