# Reading the persisted model every frame, and one committed action end to end onto disk.
maps_benchmark(bench_doc SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_doc_load.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bench_doc_commit.cpp DEPS maps_doc maps_sample zarn_ui_doc)
