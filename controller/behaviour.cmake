# The robot's behaviour (fuzzy inference, turns, PID) and the trundel program.
add_library(trundel_behaviour STATIC
  ${CMAKE_CURRENT_LIST_DIR}/AccesRobot.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ArretDemande.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Clavier.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CommandeRobot.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Controleur.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CorrecteurPID.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FichierTableSituations.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Inferences_S1_a_S8.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LigneDeCommande.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LigneEtat.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SignauxArret.cpp
  ${CMAKE_CURRENT_LIST_DIR}/VariablesFloues.cpp)
target_include_directories(trundel_behaviour PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(trundel_behaviour PUBLIC trundel_link)

add_executable(trundel ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(trundel PRIVATE trundel_behaviour)
