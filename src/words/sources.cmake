target_sources(quorvik_words PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/messages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/telling.cpp
)
