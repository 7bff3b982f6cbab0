# fuzz_map_loader: map data loading; "fuzz_map_loader --write-seeds=DIR" writes its seed corpus.
brackwen_add_fuzzer(fuzz_map_loader ${CMAKE_CURRENT_LIST_DIR}/MapLoaderFuzz.cpp)
target_link_libraries(fuzz_map_loader PRIVATE brackwen_writers)
