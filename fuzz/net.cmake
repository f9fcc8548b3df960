# Service reply parsers: each target feeds arbitrary reply values to one parser. A dense view's
# points of interest or a long route's geometry come to some hundred kilobytes.
foreach(parser geocoding_search geocoding_reverse osrm_route motis_plan overpass_pois)
  maps_fuzz_target(fuzz_${parser} SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_${parser}.cpp DEPS maps_net MAX_LEN 1048576)
  target_include_directories(fuzz_${parser} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
endforeach()
