target_sources(quorvik_unit_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/settings_e2e_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/save_faults_e2e_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/nothing_lost_e2e_test.cpp
)
