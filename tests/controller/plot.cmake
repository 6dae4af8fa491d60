# trundel-plot: dead reckoning from the encoder log, the picture, the program.
if(TARGET trundel_trajet)
  add_executable(plot_tests ${CMAKE_CURRENT_LIST_DIR}/plot_test.cpp)
  target_link_libraries(plot_tests PRIVATE trundel_trajet opencv_imgcodecs GTest::gtest_main)
  target_compile_definitions(plot_tests PRIVATE TRUNDEL_PLOT_PROGRAMME="$<TARGET_FILE:trundel-plot>")
  add_dependencies(plot_tests trundel-plot)
  # trundel-plot has one thread; under ThreadSanitizer the GDAL library that OpenCV's
  # image codecs load reports a lock-order inversion of its own at start-up.
  gtest_discover_tests(plot_tests DISCOVERY_MODE PRE_TEST PROPERTIES ENVIRONMENT "TSAN_OPTIONS=detect_deadlocks=0")
endif()
