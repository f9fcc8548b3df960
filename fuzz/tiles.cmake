# The tile PNG decoder on arbitrary bytes, seeded with one small PNG of each colour type.
maps_fuzz_target(fuzz_tile_png SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_tile_png.cpp DEPS maps_tiles
  CORPUS ${CMAKE_SOURCE_DIR}/apps/maps/tests/tiles/fixtures/png)
