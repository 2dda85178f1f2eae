target_sources(quorvik_unit_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/layers_test.cpp)
target_compile_definitions(quorvik_unit_tests PRIVATE QUORVIK_SOURCE_DIR="${PROJECT_SOURCE_DIR}/src")
