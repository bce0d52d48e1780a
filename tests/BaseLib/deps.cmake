# The Str tests load strings from the Dashel table and from a small test module with long strings.
varkel_resource_library(resources_test_str str ${CMAKE_CURRENT_LIST_DIR}/strings)
set(TEST_LIBRARIES BaseLib resources_dashel resources_test_str)
