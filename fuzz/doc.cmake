# The persisted document's readers on arbitrary saved bytes and stored texts, and the action
# payload decoder on arbitrary payloads.
maps_fuzz_target(fuzz_doc_load SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_doc_load.cpp DEPS maps_doc MAX_LEN 1048576)
maps_fuzz_target(fuzz_action_payload SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_action_payload.cpp DEPS maps_doc
  MAX_LEN 65536)
# The whole open path on real files: snapshot and log bytes in a folder, opened, saved, reopened.
maps_fuzz_target(fuzz_document_open SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_document_open.cpp DEPS zarn_ui_doc automerge
  MAX_LEN 1048576)
target_include_directories(fuzz_document_open PRIVATE ${PROJECT_SOURCE_DIR}/libs/zarn_ui/src/doc
  ${PROJECT_SOURCE_DIR}/libs/automerge/src)
