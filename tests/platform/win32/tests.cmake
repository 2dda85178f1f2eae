# The Windows back end, cross-built and run under Wine by scripts/test-windows.
if(WIN32)
  set(win32_tests
    ${CMAKE_CURRENT_LIST_DIR}/win32_files_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win32_registry_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win32_system_test.cpp
  )
  target_sources(quorvik_unit_tests PRIVATE ${win32_tests})
  set_source_files_properties(${win32_tests} PROPERTIES COMPILE_DEFINITIONS "NOMINMAX;WIN32_LEAN_AND_MEAN")
endif()
