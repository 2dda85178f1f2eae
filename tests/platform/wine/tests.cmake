target_sources(quorvik_unit_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/wine_registry_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wine_registry_rules_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/steam_libraries_test.cpp
)
if(NOT WIN32)
  target_sources(quorvik_unit_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/launcher_configs_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/prefix_finder_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/wine_paths_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/wine_written_prefix_test.cpp
    # The same prefix's registry read natively; skipped unless scripts/test-windows
    # names the prefix.
    ${CMAKE_CURRENT_LIST_DIR}/wine_roundtrip_test.cpp
  )
endif()
