# The letter filter benchmark drives the shell's payee list on a store built through the data code and
# compares its first load with bare SQLite on the same rows.
set(BENCH_LIBRARIES shell resources_dashel PkgConfig::SQLITE3)
