# Writers of the sprite archive and of sprite files.
target_sources(brackwen_writers PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/LodWriter.h ${CMAKE_CURRENT_LIST_DIR}/LodWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DefWriter.h ${CMAKE_CURRENT_LIST_DIR}/DefWriter.cpp
)
