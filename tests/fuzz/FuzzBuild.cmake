# The fuzz targets from the normal build: tests/fuzz is built as a project of its own with clang
# (libFuzzer needs it) into <build>/fuzz, and its tests (fuzz_<target>, label "fuzz") join this
# build's. Without clang and libFuzzer, or in the sanitizer build (the targets carry the sanitizers
# themselves and run in the normal build), one test says why they do not run and counts as skipped.
set(VARKEL_FUZZ_REASON "")
if(VARKEL_SANITIZE)
  set(VARKEL_FUZZ_REASON "the fuzz targets run in the normal build, where they carry the sanitizers")
else()
  find_program(VARKEL_CLANGXX NAMES clang++ clang++-14)
  if(NOT VARKEL_CLANGXX)
    set(VARKEL_FUZZ_REASON "clang++ was not found (scripts/install-deps installs it)")
  elseif(NOT VARKEL_FUZZ_WORKS)
    # libFuzzer comes with clang's runtime libraries, which are packaged apart from clang itself. Only
    # success is remembered, so that installing them is noticed at the next configuration.
    set(probe ${CMAKE_BINARY_DIR}/fuzz-probe)
    file(WRITE ${probe}.cpp "#include <cstddef>\n#include <cstdint>\nextern \"C\" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }\n")
    execute_process(COMMAND ${VARKEL_CLANGXX} -fsanitize=fuzzer,address,undefined ${probe}.cpp -o ${probe}
                    RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
    if(result EQUAL 0)
      set(VARKEL_FUZZ_WORKS ON CACHE INTERNAL "clang++ links libFuzzer")
    endif()
  endif()
  if(VARKEL_CLANGXX AND NOT VARKEL_FUZZ_WORKS)
    set(VARKEL_FUZZ_REASON "clang++ cannot link libFuzzer (scripts/install-deps installs libclang-rt-dev)")
  endif()
endif()

if(VARKEL_FUZZ_REASON)
  add_test(NAME fuzz_targets COMMAND sh -c "echo 'fuzz targets not run: ${VARKEL_FUZZ_REASON}'; exit 77")
  set_tests_properties(fuzz_targets PROPERTIES SKIP_RETURN_CODE 77 LABELS fuzz)
  return()
endif()

include(ExternalProject)
set(launcher)
if(CCACHE_PROGRAM)
  set(launcher -DCMAKE_CXX_COMPILER_LAUNCHER=${CCACHE_PROGRAM})
endif()
ExternalProject_Add(fuzz_targets
  SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}
  BINARY_DIR ${CMAKE_BINARY_DIR}/fuzz
  CMAKE_ARGS -DCMAKE_CXX_COMPILER=${VARKEL_CLANGXX} ${launcher} -DCMAKE_BUILD_TYPE=
             -DVARKEL_SOURCE_DIR=${PROJECT_SOURCE_DIR} -DVARKEL_PLATFORM_LIBRARY=$<TARGET_FILE:platform>
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  DEPENDS platform)
# ctest reads the fuzz project's tests from its own test file once the build has made it.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/FuzzTests.cmake
     "if(EXISTS \"${CMAKE_BINARY_DIR}/fuzz/CTestTestfile.cmake\")\n"
     "  include(\"${CMAKE_BINARY_DIR}/fuzz/CTestTestfile.cmake\")\n"
     "endif()\n")
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_CURRENT_BINARY_DIR}/FuzzTests.cmake)
