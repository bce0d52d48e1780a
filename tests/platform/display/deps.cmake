# Snapshots written by input scripts are read back with libpng; the windowed presenter is fed
# synthetic SDL events.
set(TEST_LIBRARIES PkgConfig::PNG PkgConfig::SDL2)
