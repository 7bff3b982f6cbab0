brackwen_add_benchmark(bench_mapfile ${CMAKE_CURRENT_LIST_DIR}/MapFileBench.cpp)
