target_sources(quorvik_unit_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/contract_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dropdown_values_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/history_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/nothing_lost_test.cpp
)
