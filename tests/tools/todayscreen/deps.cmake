# The home screen runs in the test's process and loads the built item library from a device root.
set(TEST_LIBRARIES todayhost)
set(TEST_DEPENDS BrimwellTodayItem)
