# The item's code runs in the test's own process; the launch tests start the built starter stand-in.
set(TEST_LIBRARIES today_item)
set(TEST_DEPENDS financestore)
