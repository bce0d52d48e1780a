# The Today end-to-end tests run the built home screen with the item library, dashel and financestore
# as separate processes. They start and reach them through the dashel end-to-end tests' helpers, and
# take the item's geometry from the home screen and the item's layout run in-process.
if(NOT TARGET e2e_programs)
  add_library(e2e_programs STATIC ${CMAKE_CURRENT_LIST_DIR}/../dashel/ProgramRun.cpp
                                  ${CMAKE_CURRENT_LIST_DIR}/../dashel/RemoteWindows.cpp)
  target_include_directories(e2e_programs PUBLIC ${CMAKE_CURRENT_LIST_DIR}/../dashel)
  target_compile_options(e2e_programs PRIVATE ${VARKEL_WARNINGS})
  target_link_libraries(e2e_programs PUBLIC platform platform_testing PkgConfig::PNG)
endif()
# The item's test helpers (seeding the store, driving its modal windows) are shared with its own tests.
if(NOT TARGET today_test_support)
  add_library(today_test_support STATIC ${CMAKE_CURRENT_LIST_DIR}/../../today/TodaySeed.cpp
                                        ${CMAKE_CURRENT_LIST_DIR}/../../today/ModalSteps.cpp)
  target_include_directories(today_test_support PUBLIC ${CMAKE_CURRENT_LIST_DIR}/../../today)
  target_compile_options(today_test_support PRIVATE ${VARKEL_WARNINGS})
  target_link_libraries(today_test_support PUBLIC today_item GTest::gtest)
endif()
set(TEST_LIBRARIES e2e_programs todayhost today_item today_test_support)
set(TEST_DEPENDS todayscreen BrimwellTodayItem dashel financestore)
