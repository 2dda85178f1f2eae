target_sources(quorvik_operations PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/values.cpp
  ${CMAKE_CURRENT_LIST_DIR}/presets.cpp
  ${CMAKE_CURRENT_LIST_DIR}/profiles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/load.cpp
  ${CMAKE_CURRENT_LIST_DIR}/save_plan.cpp
  ${CMAKE_CURRENT_LIST_DIR}/history.cpp
  ${CMAKE_CURRENT_LIST_DIR}/apply.cpp
  ${CMAKE_CURRENT_LIST_DIR}/restore.cpp
  ${CMAKE_CURRENT_LIST_DIR}/session.cpp
  ${CMAKE_CURRENT_LIST_DIR}/startup.cpp
)
