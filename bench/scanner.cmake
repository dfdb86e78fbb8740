# bench_scanner: the quoted-literal scanner over a generated unit of several MB.
if(TARGET lingrove_core)
  add_executable(bench_scanner ${CMAKE_CURRENT_LIST_DIR}/scanner_bench.cpp)
  target_link_libraries(bench_scanner PRIVATE lingrove_core benchmark::benchmark)
endif()
