# Measurements of Trundel's robot link.
add_executable(link_reception_bench ${CMAKE_CURRENT_LIST_DIR}/controller/link_reception_bench.cpp)
target_link_libraries(link_reception_bench PRIVATE trundel_link trundel_emulator benchmark::benchmark)
