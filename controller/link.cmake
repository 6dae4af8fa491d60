# The robot's published protocol (opcodes, packet ids and sizes), shared with the emulator.
add_library(trundel_open_interface INTERFACE)
target_include_directories(trundel_open_interface INTERFACE ${CMAKE_CURRENT_LIST_DIR})

# Trundel's robot link: serial port, Open Interface commands, sensor table, reception thread.
add_library(trundel_link STATIC
  ${CMAKE_CURRENT_LIST_DIR}/RS232.cpp
  ${CMAKE_CURRENT_LIST_DIR}/iRobotSpecification.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LectureID.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FrameReassembler.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ReceptionTrames.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Thread.cpp)
target_include_directories(trundel_link PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(trundel_link PUBLIC trundel_open_interface Threads::Threads)
