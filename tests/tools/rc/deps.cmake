# The layout tests read a table rc compiled from scripts/; the error tests run rc itself.
varkel_resource_library(resources_test_rcscripts rcscripts ${CMAKE_CURRENT_LIST_DIR}/scripts)
set(TEST_LIBRARIES resources_test_rcscripts)
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/ScriptErrorsTest.cpp PROPERTIES
  COMPILE_DEFINITIONS "VARKEL_RC_PROGRAM=\"$<TARGET_FILE:rc>\"")
