# Tile graphics: loading the sample sprites, repainting a viewport in sprite mode.
brackwen_add_benchmark(bench_sprites ${CMAKE_CURRENT_LIST_DIR}/bench_sprites.cpp)
target_link_libraries(bench_sprites PRIVATE brackwen_samplesprites brackwen_writers)
