set(TEST_LIBRARIES DoveVO resources_dashel)
