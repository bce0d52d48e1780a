# The skin snapshot tests lay the skins out with skinview's board and with the program's controls,
# from the program's resources.
set(TEST_LIBRARIES skinboard controls resources_dashel)
