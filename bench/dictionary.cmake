# bench_dictionary: lookup and store on a dictionary table of 20000 records.
if(TARGET lingrove_model)
  add_executable(bench_dictionary ${CMAKE_CURRENT_LIST_DIR}/dictionary_bench.cpp)
  target_link_libraries(bench_dictionary PRIVATE lingrove_model benchmark::benchmark)
endif()
