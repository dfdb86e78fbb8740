# bench_pascal: the Pascal colourer in MB/s, and opening a 20,000-line unit
# as a page's document (colour + RTF load into a QTextDocument, with and
# without laying it out).
if(TARGET lingrove_core)
  add_executable(bench_pascal ${CMAKE_CURRENT_LIST_DIR}/pascal_bench.cpp)
  target_link_libraries(bench_pascal PRIVATE lingrove_core benchmark::benchmark)
  if(TARGET lingrove_model)
    target_link_libraries(bench_pascal PRIVATE lingrove_model)
    target_compile_definitions(bench_pascal PRIVATE LINGROVE_BENCH_DOCUMENT=1)
  endif()
endif()
