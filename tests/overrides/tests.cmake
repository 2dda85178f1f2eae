target_sources(quorvik_unit_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/field_of_view_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/override_scripts_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skills_file_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/overrides_e2e_test.cpp
)
