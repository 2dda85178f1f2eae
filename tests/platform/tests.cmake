target_sources(quorvik_unit_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/text_codec_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/general_test.cpp
)
if(NOT WIN32)
  target_sources(quorvik_unit_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/posix_files_test.cpp
  )
endif()
target_sources(quorvik_unit_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/help_texts_test.cpp
)
target_sources(quorvik_unit_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/wine_registry_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wine_registry_rules_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/steam_libraries_test.cpp
)
if(NOT WIN32)
  target_sources(quorvik_unit_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/posix_system_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/wine_written_prefix_test.cpp
  )
endif()
