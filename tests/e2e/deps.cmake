# The end-to-end tests read the programs' PNG snapshots; the skin test takes the board's geometry from
# skinview's own layout code and the program's resources.
set(TEST_LIBRARIES PkgConfig::PNG skinboard resources_dashel)
