if(NOT WIN32)
  target_sources(quorvik_unit_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/posix_files_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/posix_process_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/posix_system_test.cpp
  )
endif()
