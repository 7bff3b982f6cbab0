target_sources(brackwen_writers PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MapWriter.h ${CMAKE_CURRENT_LIST_DIR}/MapWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SampleMap.h ${CMAKE_CURRENT_LIST_DIR}/SampleMap.cpp
)
