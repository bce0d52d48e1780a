# Snapshots written by input scripts are read back with libpng.
set(TEST_LIBRARIES PkgConfig::PNG)
