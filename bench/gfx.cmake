# Tile graphics: loading the sample sprites, repainting a viewport in sprite mode.
brackwen_add_benchmark(bench_sprites ${CMAKE_CURRENT_LIST_DIR}/bench_sprites.cpp)
target_link_libraries(bench_sprites PRIVATE brackwen_samplesprites brackwen_writers)
# The overview picture of a large level.
brackwen_add_benchmark(bench_overview ${CMAKE_CURRENT_LIST_DIR}/OverviewBench.cpp)

# Writes a map level as a general tile map, for comparing "brackwen-cli render"
# with a general tile-map rasteriser (bench/compare-render).
add_executable(brackwen-tmxexport ${CMAKE_CURRENT_LIST_DIR}/TmxExport.cpp)
target_link_libraries(brackwen-tmxexport PRIVATE brackwen_core)
