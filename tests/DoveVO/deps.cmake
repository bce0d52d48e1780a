# The store tests also assert the invariants that financestore's check verifies.
set(TEST_LIBRARIES DoveVO resources_dashel financestore_core)
