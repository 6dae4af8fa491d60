include(GoogleTest)
add_executable(runner_tests
  ${CMAKE_CURRENT_LIST_DIR}/RunnerOptionsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HeadlessRunTest.cpp
)
target_link_libraries(runner_tests PRIVATE marlune_runner GTest::gtest_main)
gtest_discover_tests(runner_tests DISCOVERY_MODE PRE_TEST)
