# The table search: libraries (so tests and benchmarks link the same code) and the
# marlune-tune program. The search itself knows nothing of the world.
add_library(marlune_search STATIC DifferentialEvolution.cpp)
target_include_directories(marlune_search PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})

if(TARGET marlune_world)
  add_library(marlune_tuning STATIC ArenaSeeds.cpp TableEvaluation.cpp TableTuning.cpp TunerOptions.cpp TunerRun.cpp)
  target_link_libraries(marlune_tuning PUBLIC marlune_search marlune_runner marlune_world Threads::Threads)

  add_executable(marlune-tune marlune_tune.cpp)
  target_link_libraries(marlune-tune PRIVATE marlune_tuning)
endif()

# The trajectory picture of marlune-run --plot.
add_library(marlune_plot STATIC TrajectoryPlot.cpp)
target_include_directories(marlune_plot PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(marlune_plot PUBLIC marlune_world opencv_core opencv_imgproc)
if(TARGET marlune_runner)
  # marlune-run --plot draws with it.
  target_link_libraries(marlune_runner PUBLIC marlune_plot)
endif()
