maps_benchmark(bench_document SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_document.cpp DEPS zarn_ui_doc automerge)
# The snapshot's record framing lives beside the persistence code.
target_include_directories(bench_document PRIVATE ${PROJECT_SOURCE_DIR}/libs/zarn_ui/src/doc)
