# The desktop program's costs to a run (Qt on its offscreen platform, no display needed).
add_executable(app_bench ${CMAKE_CURRENT_LIST_DIR}/app_inference_view.cpp)
target_link_libraries(app_bench PRIVATE marlune_app benchmark::benchmark)
