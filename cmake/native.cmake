# Native Linux build: the core's tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, then the Windows builds and their Wine tests.

set(SANITIZERS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
target_compile_options(core PRIVATE ${SANITIZERS})

set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${GOOGLETEST_SOURCE} googletest EXCLUDE_FROM_ALL)

include(cmake/core-tests.cmake)
target_compile_options(core_tests PRIVATE ${SANITIZERS})
target_link_options(core_tests PRIVATE ${SANITIZERS})
add_test(NAME native.core COMMAND core_tests)

# The Windows program, cross-compiled.  The shipped program is 32-bit; where
# this host cannot execute 32-bit code, the Wine tests run a 64-bit build of
# the same sources instead (see scripts/lib/wine.sh).
set(WINE_TEST_ARCH "i686" CACHE STRING "Windows build the Wine tests run: i686 or x86_64")
include(ExternalProject)
foreach(arch i686 x86_64)
  if(arch STREQUAL "i686" OR arch STREQUAL WINE_TEST_ARCH)
    ExternalProject_Add(windows-${arch}
      SOURCE_DIR ${CMAKE_SOURCE_DIR}
      BINARY_DIR ${CMAKE_BINARY_DIR}/windows-${arch}
      CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-${arch}.cmake
        -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
        -DGOOGLETEST_SOURCE=${GOOGLETEST_SOURCE}
      INSTALL_COMMAND ""
      BUILD_ALWAYS ON
      USES_TERMINAL_BUILD ON)
  endif()
endforeach()

set(WINE_BIN ${CMAKE_BINARY_DIR}/windows-${WINE_TEST_ARCH})
set(WINE_SESSION ${CMAKE_BINARY_DIR}/wine-session)
set(SESSION_SCRIPT ${CMAKE_SOURCE_DIR}/scripts/lib/wine-session)

# One Xvfb display and one fresh Wine prefix for the whole run, made by a
# fixture and always torn down by another, whatever the tests did.
add_test(NAME wine.start COMMAND ${SESSION_SCRIPT} start ${WINE_SESSION})
add_test(NAME wine.stop COMMAND ${SESSION_SCRIPT} stop ${WINE_SESSION})
set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine TIMEOUT 180)
set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)

# name  executable  resource locks
function(add_wine_test name exe)
  add_test(NAME wine.${name} COMMAND ${SESSION_SCRIPT} run ${WINE_SESSION} ${WINE_BIN}/${exe})
  set_tests_properties(wine.${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 600)
  if(ARGN)
    set_tests_properties(wine.${name} PROPERTIES RESOURCE_LOCK "${ARGN}")
  endif()
endfunction()

add_wine_test(core core_tests.exe)
add_wine_test(config config_tests.exe)
# The listeners' streaming test and the abuse suite load the two cores, and
# the desktop suites have margins to keep: none of these run side by side.
add_wine_test(net net_tests.exe load)
# The desktop (keyboard focus, clipboard) and the fixed ports are shared by
# whatever the tests start, so these run one at a time too.
add_wine_test(output output_tests.exe desktop load)
add_wine_test(program program_tests.exe desktop ports load)
add_wine_test(abuse abuse_tests.exe desktop ports load)

# The abuse suite also starts the program from a folder nobody may write to.
set(READONLY_FOLDER ${CMAKE_BINARY_DIR}/readonly-folder)
string(REPLACE "/" "\\" READONLY_FOLDER_WINDOWS "Z:${READONLY_FOLDER}")
add_test(NAME abuse.folder.make
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/lib/readonly-folder make ${READONLY_FOLDER} ${WINE_BIN}/WenloScanner.exe)
add_test(NAME abuse.folder.remove COMMAND ${CMAKE_SOURCE_DIR}/scripts/lib/readonly-folder remove ${READONLY_FOLDER})
set_tests_properties(abuse.folder.make PROPERTIES FIXTURES_SETUP readonly)
set_tests_properties(abuse.folder.remove PROPERTIES FIXTURES_CLEANUP readonly)
set_tests_properties(wine.abuse PROPERTIES
  FIXTURES_REQUIRED "wine;readonly"
  ENVIRONMENT "WENLO_READONLY_FOLDER=${READONLY_FOLDER_WINDOWS}")

# libFuzzer targets for the arrival path, the number rules and the
# executable's directory, built with clang; a short fixed run of each is a
# test, and scripts/fuzz runs them for as long as asked.
find_program(CLANGXX clang++)
if(CLANGXX)
  ExternalProject_Add(fuzzers
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/tests/fuzz
    BINARY_DIR ${CMAKE_BINARY_DIR}/fuzz
    CMAKE_ARGS -DCMAKE_CXX_COMPILER=${CLANGXX}
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON)
  foreach(target arrival number run_directory)
    add_test(NAME fuzz.${target} COMMAND ${CMAKE_BINARY_DIR}/fuzz/${target}_fuzz -runs=200000 -seed=1)
  endforeach()
endif()
