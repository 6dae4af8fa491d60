add_executable(world_bench
  ${CMAKE_CURRENT_LIST_DIR}/world_arena.cpp
  ${CMAKE_CURRENT_LIST_DIR}/world_sense.cpp
  ${CMAKE_CURRENT_LIST_DIR}/world_pass.cpp
)
target_link_libraries(world_bench PRIVATE marlune_world benchmark::benchmark benchmark::benchmark_main)
