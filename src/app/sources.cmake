target_sources(quorvik_app PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/form1.cpp
  ${CMAKE_CURRENT_LIST_DIR}/commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/startup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings_commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/profile_commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/control_menu.cpp
  ${CMAKE_CURRENT_LIST_DIR}/general.cpp
  ${CMAKE_CURRENT_LIST_DIR}/help_texts.cpp
)
