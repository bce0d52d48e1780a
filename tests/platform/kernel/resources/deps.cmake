# The loader tests read the real tables of both modules and a sample table compiled by rc; the
# compiler tests run rc itself.
varkel_resource_library(resources_test_sample sample ${CMAKE_CURRENT_LIST_DIR}/sample)
set(TEST_LIBRARIES resources_dashel resources_today resources_test_sample)
