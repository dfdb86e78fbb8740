# bench_dictionary_grid: the dictionary window on a table of 1,000,000
# records: opening it, Last, sorting by a translation, jumping to the middle,
# posting an edit there, and adding the sort indexes to an older table.
if(TARGET lingrove_ui)
  add_executable(bench_dictionary_grid ${CMAKE_CURRENT_LIST_DIR}/dictionary_grid_bench.cpp)
  target_link_libraries(bench_dictionary_grid PRIVATE lingrove_ui benchmark::benchmark)
endif()
