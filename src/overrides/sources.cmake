target_sources(quorvik_overrides PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/overrides.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skills_file.cpp
)
