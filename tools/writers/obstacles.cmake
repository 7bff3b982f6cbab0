target_sources(brackwen_writers PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ObstacleCatalogueWriter.h ${CMAKE_CURRENT_LIST_DIR}/ObstacleCatalogueWriter.cpp
)
