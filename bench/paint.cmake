maps_benchmark(bench_frame SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_frame.cpp DEPS maps_app)
