# The tests run the built financestore program and reach into its store through the data code.
set(TEST_LIBRARIES DoveVO resources_dashel)
