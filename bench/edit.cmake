# Benchmarks of the editing library (fill, edit history, terrain edges) and the plain-colour cell renderer.
brackwen_add_benchmark(bench_edit
  ${CMAKE_CURRENT_LIST_DIR}/EditFillBench.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EditHistoryBench.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GrassMap.h
  ${CMAKE_CURRENT_LIST_DIR}/EditRenderBench.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TerrainEdgesBench.cpp
)
target_compile_definitions(bench_edit PRIVATE BRACKWEN_SAMPLE_RULES="${PROJECT_SOURCE_DIR}/samples/terrain-edges.ini")
