include(GoogleTest)
# Unit tests of the robot's behaviour, played through a scripted robot (no port, no thread).
add_executable(behaviour_tests
  ${CMAKE_CURRENT_LIST_DIR}/behaviour_inference_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/behaviour_rotation_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/behaviour_pid_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/behaviour_table_file_test.cpp)
target_link_libraries(behaviour_tests PRIVATE trundel_behaviour GTest::gtest_main)
target_include_directories(behaviour_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR})
gtest_discover_tests(behaviour_tests DISCOVERY_MODE PRE_TEST)

# The trundel program end to end, against the emulated robot on a pseudo-terminal.
if(TARGET trundel_emulator)
  add_executable(behaviour_trundel_tests ${CMAKE_CURRENT_LIST_DIR}/behaviour_trundel_test.cpp)
  target_link_libraries(behaviour_trundel_tests PRIVATE trundel_emulator GTest::gtest_main)
  target_compile_definitions(behaviour_trundel_tests PRIVATE
    TRUNDEL_PROGRAMME="$<TARGET_FILE:trundel>"
    TRUNDEL_TABLES="${PROJECT_SOURCE_DIR}/tables")
  add_dependencies(behaviour_trundel_tests trundel)
  gtest_discover_tests(behaviour_trundel_tests DISCOVERY_MODE PRE_TEST PROPERTIES TIMEOUT 120)
endif()
