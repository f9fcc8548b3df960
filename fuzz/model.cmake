# An action is a small record; a whole model with its places, regions and plans is larger.
maps_fuzz_target(fuzz_maps_action SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_maps_action.cpp DEPS maps_model
  MAX_LEN 65536 CORPUS ${CMAKE_CURRENT_LIST_DIR}/corpus/model)
maps_fuzz_target(fuzz_map_model SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_map_model.cpp DEPS maps_model
  MAX_LEN 262144 CORPUS ${CMAKE_CURRENT_LIST_DIR}/corpus/model)
