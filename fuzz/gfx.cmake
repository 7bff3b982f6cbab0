# Fuzz targets of the sprite archive reader and the sprite decoder, and the
# writer of their seed corpora: fuzz_lod_def_seeds DIR writes DIR/lod and DIR/def.
brackwen_add_fuzzer(fuzz_lod ${CMAKE_CURRENT_LIST_DIR}/fuzz_lod.cpp)
brackwen_add_fuzzer(fuzz_def ${CMAKE_CURRENT_LIST_DIR}/fuzz_def.cpp)
add_executable(fuzz_lod_def_seeds ${CMAKE_CURRENT_LIST_DIR}/lod_def_seeds.cpp)
target_link_libraries(fuzz_lod_def_seeds PRIVATE brackwen_samplesprites)
