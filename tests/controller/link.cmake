# Tests of the robot link and of the robot emulator it is tested against.
include(GoogleTest)

add_executable(link_tests
  ${CMAKE_CURRENT_LIST_DIR}/link_port_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/link_commands_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/link_frames_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/link_thread_test.cpp)
target_link_libraries(link_tests PRIVATE trundel_link trundel_emulator GTest::gtest_main)
gtest_discover_tests(link_tests DISCOVERY_TIMEOUT 30 PROPERTIES TIMEOUT 120)

add_executable(emulator_tests ${CMAKE_CURRENT_LIST_DIR}/emulator_test.cpp)
target_link_libraries(emulator_tests PRIVATE trundel_emulator trundel_link GTest::gtest_main)
target_compile_definitions(emulator_tests PRIVATE TRUNDEL_ROBOT_PROGRAMME="$<TARGET_FILE:trundel-robot>")
add_dependencies(emulator_tests trundel-robot)
gtest_discover_tests(emulator_tests DISCOVERY_TIMEOUT 30 PROPERTIES TIMEOUT 120)
