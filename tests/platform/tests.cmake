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
# The Windows back end, cross-built and run under Wine by scripts/test-windows.
if(WIN32)
  target_sources(quorvik_unit_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/win32_files_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win32_registry_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win32_system_test.cpp
  )
  set_source_files_properties(
    ${CMAKE_CURRENT_LIST_DIR}/win32_files_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win32_registry_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win32_system_test.cpp
    PROPERTIES COMPILE_DEFINITIONS "NOMINMAX;WIN32_LEAN_AND_MEAN")
endif()
# The same prefix's registry read natively; skipped unless scripts/test-windows
# names the prefix.
if(NOT WIN32)
  target_sources(quorvik_unit_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/wine_roundtrip_test.cpp
  )
endif()
