target_sources(quorvik_unit_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/catalogue_test.cpp
)
