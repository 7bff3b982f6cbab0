# fuzz_edge_rules: the terrain edge rules reader and the rules applied; "fuzz_edge_rules --write-seeds=DIR" writes its seed corpus.
brackwen_add_fuzzer(fuzz_edge_rules ${CMAKE_CURRENT_LIST_DIR}/EdgeRulesFuzz.cpp)
target_compile_definitions(fuzz_edge_rules PRIVATE BRACKWEN_SAMPLE_RULES="${PROJECT_SOURCE_DIR}/samples/terrain-edges.ini")
