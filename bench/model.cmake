maps_benchmark(bench_json SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_json.cpp DEPS maps_model)
