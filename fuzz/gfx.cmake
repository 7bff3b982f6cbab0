# Fuzz targets of the sprite archive reader and the sprite decoder.
brackwen_add_fuzzer(fuzz_lod ${CMAKE_CURRENT_LIST_DIR}/fuzz_lod.cpp ${CMAKE_CURRENT_LIST_DIR}/LodDefSeeds.cpp)
brackwen_add_fuzzer(fuzz_def ${CMAKE_CURRENT_LIST_DIR}/fuzz_def.cpp ${CMAKE_CURRENT_LIST_DIR}/LodDefSeeds.cpp)
target_link_libraries(fuzz_lod PRIVATE brackwen_samplesprites)
target_link_libraries(fuzz_def PRIVATE brackwen_samplesprites)
