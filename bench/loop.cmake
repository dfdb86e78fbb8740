# bench_loop: Get strings on a unit of 400,000 entries (scan into the string
# list model), and Locate of its last entry.
if(TARGET lingrove_model)
  add_executable(bench_loop ${CMAKE_CURRENT_LIST_DIR}/loop_bench.cpp)
  target_link_libraries(bench_loop PRIVATE lingrove_model benchmark::benchmark)
endif()
