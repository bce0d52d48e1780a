# The PNG round trip reads snapshots back with libpng.
set(TEST_LIBRARIES PkgConfig::PNG)
