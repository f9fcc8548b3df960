maps_fuzz_target(fuzz_maps_action SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_maps_action.cpp DEPS maps_model CORPUS ${CMAKE_CURRENT_LIST_DIR}/corpus/model)
maps_fuzz_target(fuzz_map_model SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_map_model.cpp DEPS maps_model CORPUS ${CMAKE_CURRENT_LIST_DIR}/corpus/model)
