# The soak test starts the built programs through the end-to-end tests' helpers and checks the store
# with SQLite's own integrity check afterwards.
if(NOT TARGET e2e_programs)
  add_library(e2e_programs STATIC ${CMAKE_CURRENT_LIST_DIR}/../e2e/dashel/ProgramRun.cpp
                                  ${CMAKE_CURRENT_LIST_DIR}/../e2e/dashel/RemoteWindows.cpp)
  target_include_directories(e2e_programs PUBLIC ${CMAKE_CURRENT_LIST_DIR}/../e2e/dashel)
  target_compile_options(e2e_programs PRIVATE ${VARKEL_WARNINGS})
  target_link_libraries(e2e_programs PUBLIC platform platform_testing PkgConfig::PNG)
endif()
set(TEST_LIBRARIES e2e_programs PkgConfig::SQLITE3)
set(TEST_DEPENDS dashel financestore)
