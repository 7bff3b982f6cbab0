brackwen_add_benchmark(bench_obstacles ${CMAKE_CURRENT_LIST_DIR}/obstacles_bench.cpp)
