# Service reply parsers: each target feeds arbitrary reply values to one parser.
foreach(parser geocoding_search geocoding_reverse osrm_route motis_plan overpass_pois)
  maps_fuzz_target(fuzz_${parser} SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_${parser}.cpp DEPS maps_net)
  target_include_directories(fuzz_${parser} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
endforeach()
