#The shell tests drive the program's main window in-process on the headless screen.
set(TEST_LIBRARIES shell resources_dashel)
