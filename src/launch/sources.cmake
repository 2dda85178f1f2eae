target_sources(quorvik_launch PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/launch.cpp
)
