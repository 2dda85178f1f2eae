target_sources(quorvik_panel PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/panel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/binding.cpp
)
