# The end-to-end tests read the programs' PNG snapshots.
set(TEST_LIBRARIES PkgConfig::PNG)
