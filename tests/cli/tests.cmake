# quorvik-cli run as a process; the process helpers are POSIX ones.
if(NOT WIN32)
  target_sources(quorvik_unit_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/cli_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/saves_at_once_test.cpp)
  target_compile_definitions(quorvik_unit_tests PRIVATE QUORVIK_CLI="$<TARGET_FILE:quorvik-cli>")
  add_dependencies(quorvik_unit_tests quorvik-cli)
endif()
# quorvik-cli.exe run as a process under Wine, its console output and its resources.
if(WIN32)
  set(win32_cli_tests
    ${CMAKE_CURRENT_LIST_DIR}/win32_cli_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win32_console_test.cpp
  )
  target_sources(quorvik_unit_tests PRIVATE ${win32_cli_tests})
  set_source_files_properties(${win32_cli_tests} PROPERTIES COMPILE_DEFINITIONS
    "NOMINMAX;WIN32_LEAN_AND_MEAN;QUORVIK_PROJECT_VERSION=\"${PROJECT_VERSION}\"")
  target_compile_definitions(quorvik_unit_tests PRIVATE QUORVIK_CLI="$<TARGET_FILE:quorvik-cli>")
  target_link_libraries(quorvik_unit_tests PRIVATE quorvik_cli version)
  add_dependencies(quorvik_unit_tests quorvik-cli)
endif()
# The shell completion both Linux programs write, tried in bash, fish and zsh.
if(NOT WIN32)
  set(completion_programs $<TARGET_FILE:quorvik-cli>)
  if(QUORVIK_BUILD_GUI)
    list(APPEND completion_programs $<TARGET_FILE:quorvik>)
  endif()
  add_test(NAME completion COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/completion_test.sh
           ${completion_programs})
endif()
