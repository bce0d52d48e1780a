# The date picker tests drive the fields and the picker window with the program's arrow images, in
# day-month-year, month-day-year and year-month-day locales.
set(TEST_LIBRARIES controls resources_dashel)
