target_sources(quorvik_unit_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/launch_test.cpp
)
if(NOT WIN32)
  target_sources(quorvik_unit_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/posix_process_test.cpp
  )
endif()
