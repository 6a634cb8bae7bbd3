# The Windows build: the program and its tests, run under Wine.

add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
# No DLLs beside the executables: the C++ runtime is linked in.
add_link_options(-static -static-libgcc -static-libstdc++)

add_library(winparts STATIC
  app/WindowClass.cpp
  config/ConfigFile.cpp
  net/TcpListener.cpp
  net/LocalAddressList.cpp
  output/DesktopOutput.cpp
  ui/Label.cpp
  ui/TrayIcon.cpp
  ui/HelpWindow.cpp
  ui/MainWindow.cpp)
target_link_libraries(winparts PUBLIC core ws2_32 user32 gdi32 shell32 kernel32)

add_executable(wenlo-scanner WIN32 app/main.cpp ui/resources.rc)
target_link_libraries(wenlo-scanner PRIVATE winparts)
set_target_properties(wenlo-scanner PROPERTIES OUTPUT_NAME WenloScanner)
target_link_options(wenlo-scanner PRIVATE -s)  # shipped without symbols

set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${GOOGLETEST_SOURCE} googletest EXCLUDE_FROM_ALL)
# googletest's own sources are not ours to keep warning-free.
target_compile_options(gtest PRIVATE -w)
target_compile_options(gtest_main PRIVATE -w)

include(cmake/core-tests.cmake)

add_library(wine_support STATIC tests/support/WineTestSupport.cpp)
target_include_directories(wine_support PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(wine_support PUBLIC winparts GTest::gtest)

foreach(suite output config net)
  add_executable(${suite}_tests tests/wine/${suite}_test.cpp)
  target_link_libraries(${suite}_tests PRIVATE wine_support GTest::gtest_main)
endforeach()

# Drives the real program from outside.
add_library(program_driver STATIC tests/e2e/ProgramDriver.cpp)
target_link_libraries(program_driver PUBLIC wine_support psapi)
target_compile_definitions(program_driver PUBLIC PROGRAM_EXE="$<TARGET_FILE_NAME:wenlo-scanner>")
add_dependencies(program_driver wenlo-scanner)

foreach(suite program abuse)
  add_executable(${suite}_tests tests/e2e/${suite}_test.cpp)
  target_link_libraries(${suite}_tests PRIVATE program_driver GTest::gtest_main)
endforeach()

add_executable(screenshots tests/e2e/screenshots.cpp)
target_link_libraries(screenshots PRIVATE program_driver)

# The benchmark: the floor and the empty window program beside the driver.
add_executable(floor WIN32 bench/floor.cpp)
target_link_libraries(floor PRIVATE ws2_32)
add_executable(empty_window WIN32 bench/empty_window.cpp)
add_executable(bench bench/bench.cpp)
target_link_libraries(bench PRIVATE wine_support psapi)
add_dependencies(bench wenlo-scanner floor empty_window)
