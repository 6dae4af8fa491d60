if(TARGET marlune_export)
  # Debian's libfuzzylite.so exports a main of its own: gtest's must come first on the link line.
  add_executable(export_tests ${CMAKE_CURRENT_LIST_DIR}/ExportProgramTest.cpp)
  target_link_libraries(export_tests PRIVATE GTest::gtest_main marlune_export marlune_runner)
  gtest_discover_tests(export_tests DISCOVERY_MODE PRE_TEST)
endif()
