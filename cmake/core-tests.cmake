# The core's unit tests, built for both targets.
add_executable(core_tests
  tests/native/scan_rules_test.cpp
  tests/native/scan_handler_test.cpp
  tests/native/startup_init_test.cpp
  tests/native/config_rules_test.cpp
  tests/native/address_text_test.cpp
  tests/native/read_buffer_test.cpp
  tests/native/ui_rules_test.cpp)
target_compile_definitions(core_tests PRIVATE SOURCE_DIR="${CMAKE_SOURCE_DIR}")
target_link_libraries(core_tests PRIVATE core GTest::gtest_main)
