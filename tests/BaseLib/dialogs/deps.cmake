# The dialog-object tests run a template and a menu that rc compiles from resources/.
varkel_resource_library(resources_test_dialogobject dialogobjecttests ${CMAKE_CURRENT_LIST_DIR}/resources)
set(TEST_LIBRARIES BaseLib resources_test_dialogobject)
