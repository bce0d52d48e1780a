# The dialog tests run templates and menus that rc compiles from resources/.
varkel_resource_library(resources_test_dialogs dialogtests ${CMAKE_CURRENT_LIST_DIR}/resources)
set(TEST_LIBRARIES resources_test_dialogs)
