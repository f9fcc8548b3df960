maps_benchmark(bench_sample SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_sample.cpp DEPS maps_sample)
