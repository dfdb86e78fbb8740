# Form files: binary -> text, text -> binary, extended numbers, documents of
# any kind with their page text, apply on edited page texts.
lingrove_fuzzer(fuzz_form_binary SOURCES ${CMAKE_CURRENT_LIST_DIR}/form_binary.cpp LIBS lingrove_core)
lingrove_fuzzer(fuzz_form_text SOURCES ${CMAKE_CURRENT_LIST_DIR}/form_text.cpp LIBS lingrove_core)
lingrove_fuzzer(fuzz_form_extended SOURCES ${CMAKE_CURRENT_LIST_DIR}/form_extended.cpp LIBS lingrove_core)
lingrove_fuzzer(fuzz_form_document SOURCES ${CMAKE_CURRENT_LIST_DIR}/form_document.cpp LIBS lingrove_core)
lingrove_fuzzer(fuzz_form_apply SOURCES ${CMAKE_CURRENT_LIST_DIR}/form_apply.cpp LIBS lingrove_core)
