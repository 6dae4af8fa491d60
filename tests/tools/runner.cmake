include(GoogleTest)
find_package(GIF 5 REQUIRED)
add_executable(runner_tests
  ${CMAKE_CURRENT_LIST_DIR}/RunnerOptionsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HeadlessRunTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NumberTextTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/VideoRecordingTest.cpp
)
target_link_libraries(runner_tests PRIVATE GTest::gtest_main marlune_runner GIF::GIF opencv_videoio)
gtest_discover_tests(runner_tests DISCOVERY_MODE PRE_TEST)
