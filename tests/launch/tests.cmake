target_sources(quorvik_unit_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/launch_test.cpp
)
if(NOT WIN32)
  target_sources(quorvik_unit_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/launch_posix_test.cpp)
endif()
