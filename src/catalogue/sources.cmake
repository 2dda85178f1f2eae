target_sources(quorvik_catalogue PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/catalogue.cpp
)
