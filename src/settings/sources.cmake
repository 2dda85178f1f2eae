target_sources(quorvik_core PRIVATE
)
