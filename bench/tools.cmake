if(TARGET marlune_tuning)
  add_executable(bench_tools tools_evaluation.cpp)
  target_link_libraries(bench_tools PRIVATE marlune_tuning benchmark::benchmark)
endif()
