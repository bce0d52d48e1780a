# The layout tests read a table rc compiled from scripts/; the error tests run rc itself.
varkel_resource_library(resources_test_rcscripts rcscripts ${CMAKE_CURRENT_LIST_DIR}/scripts)
set(TEST_LIBRARIES resources_test_rcscripts)
