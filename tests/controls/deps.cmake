# The controls tests drive real control windows on the headless screen.
set(TEST_LIBRARIES controls resources_dashel)
