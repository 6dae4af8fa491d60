# Recorded runs: MPEG-4 through OpenCV, GIF through giflib.
find_package(OpenCV 4 REQUIRED COMPONENTS videoio)
find_package(GIF 5 REQUIRED)
# The headless runner: its pieces (options, table loading, trace, pictures, summary) are
# a library so other command-line fronts over the world can reuse them.
add_library(marlune_runner STATIC
  ${CMAKE_CURRENT_LIST_DIR}/CommandLineValues.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RunnerOptions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TableLoading.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NumberText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TraceWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PictureOutput.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RunSummary.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HeadlessRun.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FrameRecorder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GifRecorder.cpp
)
target_include_directories(marlune_runner PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(marlune_runner PUBLIC marlune_world marlune_fuzzylite opencv_imgcodecs opencv_videoio
                                     PRIVATE atomic_file GIF::GIF)

add_executable(marlune-run ${CMAKE_CURRENT_LIST_DIR}/marlune-run.cpp)
target_link_libraries(marlune-run PRIVATE marlune_runner)
