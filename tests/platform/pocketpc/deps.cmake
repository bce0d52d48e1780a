# A copy of libpng serves as a library loaded from the device root's windows/ folder.
set(TEST_LIBRARIES PkgConfig::PNG)
