# fuzz_pascal: the Pascal tokenizer and RTF writer on arbitrary bytes.
if(TARGET lingrove_core)
  lingrove_fuzzer(fuzz_pascal SOURCES ${CMAKE_CURRENT_LIST_DIR}/pascal_fuzz.cpp LIBS lingrove_core)
endif()
