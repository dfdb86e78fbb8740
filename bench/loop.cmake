# bench_loop: Get strings on a 20,000-line unit in the main window (scan,
# scratch list, string list and Changed column), and Locate of its last entry.
if(TARGET lingrove_gui)
  add_executable(bench_loop ${CMAKE_CURRENT_LIST_DIR}/loop_bench.cpp)
  target_link_libraries(bench_loop PRIVATE lingrove_gui benchmark::benchmark)
endif()
