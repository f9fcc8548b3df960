pkg_check_modules(BENCH_TILES_HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
maps_benchmark(bench_tiles SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_tiles.cpp
  DEPS maps_tiles PkgConfig::BENCH_TILES_HTTPLIB)
maps_benchmark(bench_tile_memory SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_tile_memory.cpp DEPS maps_tiles)
maps_benchmark(bench_tile_fetch SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_tile_fetch.cpp
  DEPS maps_tiles PkgConfig::BENCH_TILES_HTTPLIB)
maps_benchmark(bench_tile_cache_measure SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_tile_cache_measure.cpp DEPS maps_tiles)
