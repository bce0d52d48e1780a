# The calculator tests drive the calculator's arithmetic, state and windows (with the program's key
# images), and check the arithmetic against GMP's exact rationals.
if(NOT TARGET PkgConfig::GMPXX)
  pkg_check_modules(GMPXX REQUIRED IMPORTED_TARGET gmpxx)
endif()
set(TEST_LIBRARIES controls resources_dashel PkgConfig::GMPXX)
# The source check reads the calculator's files from the source tree.
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/ExactArithmeticSourceTest.cpp PROPERTIES
                            COMPILE_DEFINITIONS "VARKEL_SOURCE_ROOT=\"${CMAKE_SOURCE_DIR}\"")
