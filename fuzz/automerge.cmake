maps_fuzz_target(fuzz_document_load SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_document_load.cpp DEPS zarn_ui_doc automerge
  MAX_LEN 1048576)
# The log reader's framing lives beside the persistence code; the saved form's parts beside the
# document's.
target_include_directories(fuzz_document_load PRIVATE ${PROJECT_SOURCE_DIR}/libs/zarn_ui/src/doc
  ${PROJECT_SOURCE_DIR}/libs/automerge/src)
