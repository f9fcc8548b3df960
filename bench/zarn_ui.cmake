maps_benchmark(bench_render SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_render.cpp DEPS zarn_ui_core)
maps_benchmark(bench_paste SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_paste.cpp DEPS zarn_ui_widget)
