# quorvik-cli run as a process; the process helpers are POSIX ones.
if(NOT WIN32)
  target_sources(quorvik_unit_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/cli_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/saves_at_once_test.cpp)
  target_compile_definitions(quorvik_unit_tests PRIVATE QUORVIK_CLI="$<TARGET_FILE:quorvik-cli>")
  add_dependencies(quorvik_unit_tests quorvik-cli)
endif()
