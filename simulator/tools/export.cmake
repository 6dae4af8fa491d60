# marlune-export: the table as a fuzzylite engine and as a command-surface picture.
if(TARGET marlune_fuzzylite AND TARGET marlune_runner)
  add_library(marlune_export STATIC ${CMAKE_CURRENT_LIST_DIR}/ExportProgram.cpp)
  target_include_directories(marlune_export PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(marlune_export PUBLIC marlune_runner marlune_fuzzylite marlune_surface atomic_file
                                        opencv_imgcodecs)

  add_executable(marlune-export ${CMAKE_CURRENT_LIST_DIR}/marlune-export.cpp)
  target_link_libraries(marlune-export PRIVATE marlune_export)
endif()
