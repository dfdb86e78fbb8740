# bench_pascal: the Pascal colourer in MB/s, and opening a 20,000-line unit
# in an editor (colour + RTF load into a QTextEdit).
if(TARGET lingrove_core)
  add_executable(bench_pascal ${CMAKE_CURRENT_LIST_DIR}/pascal_bench.cpp)
  target_link_libraries(bench_pascal PRIVATE lingrove_core benchmark::benchmark)
  if(TARGET lingrove_gui)
    target_link_libraries(bench_pascal PRIVATE lingrove_gui)
    target_compile_definitions(bench_pascal PRIVATE LINGROVE_BENCH_GUI=1)
  endif()
endif()
