target_sources(quorvik_unit_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/commands_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/control_menu_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form1_commands_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/startup_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/general_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/help_texts_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/restore_changes_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_wording_test.cpp
)
if(NOT WIN32)
  target_sources(quorvik_unit_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/command_line_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/linux_prefixes_e2e_test.cpp
  )
  target_link_libraries(quorvik_unit_tests PRIVATE quorvik_command_line)
endif()
