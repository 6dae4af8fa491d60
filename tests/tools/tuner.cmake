include(GoogleTest)

add_executable(tuner_search_tests tuner_search_test.cpp)
target_link_libraries(tuner_search_tests PRIVATE marlune_search GTest::gtest_main)
gtest_discover_tests(tuner_search_tests DISCOVERY_MODE PRE_TEST)

add_executable(trajectory_plot_tests trajectory_plot_test.cpp)
target_link_libraries(trajectory_plot_tests PRIVATE marlune_plot marlune_runner GTest::gtest_main)
gtest_discover_tests(trajectory_plot_tests DISCOVERY_MODE PRE_TEST)

if(TARGET marlune-tune)
  add_executable(tuner_tuning_tests tuner_evaluation_test.cpp tuner_options_test.cpp tuner_program_test.cpp
                                    tuner_seeds_test.cpp)
  target_link_libraries(tuner_tuning_tests PRIVATE marlune_tuning GTest::gtest_main)
  target_compile_definitions(tuner_tuning_tests PRIVATE MARLUNE_TUNE_PATH="$<TARGET_FILE:marlune-tune>")
  add_dependencies(tuner_tuning_tests marlune-tune)
  gtest_discover_tests(tuner_tuning_tests DISCOVERY_MODE PRE_TEST)
endif()

if(TARGET marlune-tune)
  add_executable(golden_runs_tests GoldenRunsTest.cpp)
  target_link_libraries(golden_runs_tests PRIVATE marlune_tuning marlune_runner GTest::gtest_main)
  target_compile_definitions(golden_runs_tests PRIVATE MARLUNE_TABLES_DIR="${PROJECT_SOURCE_DIR}/tables")
  gtest_discover_tests(golden_runs_tests DISCOVERY_MODE PRE_TEST)
endif()
