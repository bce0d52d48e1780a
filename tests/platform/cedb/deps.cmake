# The crash tests check the store file with SQLite's own integrity check.
set(TEST_LIBRARIES PkgConfig::SQLITE3)
