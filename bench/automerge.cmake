maps_benchmark(bench_document SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_document.cpp DEPS zarn_ui_doc automerge)
