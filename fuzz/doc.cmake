# The persisted document's readers on arbitrary saved bytes and stored texts, and the action
# payload decoder on arbitrary payloads.
maps_fuzz_target(fuzz_doc_load SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_doc_load.cpp DEPS maps_doc)
maps_fuzz_target(fuzz_action_payload SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_action_payload.cpp DEPS maps_doc)
