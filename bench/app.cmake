maps_benchmark(bench_app_frame SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_app_frame.cpp DEPS maps_app)
