# The finance store benchmark runs the data code and compares it with bare SQLite on the same rows.
set(BENCH_LIBRARIES DoveVO resources_dashel PkgConfig::SQLITE3)
