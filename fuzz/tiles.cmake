# The tile PNG decoder on PNGs mutated chunk by chunk, seeded with one small PNG of each colour
# type and with tiles like a basemap's (256 and 512 pixels; palette, RGB and RGBA). Tiles are
# never near 256 KiB.
find_package(ZLIB REQUIRED)
maps_fuzz_target(fuzz_tile_png SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_tile_png.cpp DEPS maps_tiles ZLIB::ZLIB
  MAX_LEN 262144 CORPUS ${CMAKE_SOURCE_DIR}/apps/maps/tests/tiles/fixtures/png ${CMAKE_CURRENT_LIST_DIR}/corpus/tiles)
