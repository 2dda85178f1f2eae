target_sources(quorvik_unit_tests PRIVATE
)
