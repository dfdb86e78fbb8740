# fuzz_scanner: the scanner and the entry-line parser on arbitrary bytes.
if(TARGET lingrove_core)
  add_executable(fuzz_scanner ${CMAKE_CURRENT_LIST_DIR}/scanner_fuzz.cpp)
  target_compile_options(fuzz_scanner PRIVATE -fsanitize=fuzzer)
  target_link_options(fuzz_scanner PRIVATE -fsanitize=fuzzer)
  target_link_libraries(fuzz_scanner PRIVATE lingrove_core)
endif()
