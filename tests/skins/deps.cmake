# The skin snapshot tests lay the skins out with skinview's board, from the program's resources.
set(TEST_LIBRARIES skinboard resources_dashel)
