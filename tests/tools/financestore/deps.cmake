# The tests run the built financestore program and reach into its store through the data code and the
# program's own library.
set(TEST_LIBRARIES DoveVO resources_dashel financestore_core)
