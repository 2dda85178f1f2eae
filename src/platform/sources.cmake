target_sources(quorvik_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/system.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_codec.cpp
  ${CMAKE_CURRENT_LIST_DIR}/registry_value.cpp
)
target_sources(quorvik_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/wine/wine_registry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wine/steam_libraries.cpp
)
