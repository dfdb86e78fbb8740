# bench_pretranslate: pre-translation of a generated project of 500 units
# (and 100 forms) from a dictionary table of 20,000 records, written and as
# a dry run; and the project's statistics.
if(TARGET lingrove_model)
  add_executable(bench_pretranslate ${CMAKE_CURRENT_LIST_DIR}/pretranslate_bench.cpp)
  target_link_libraries(bench_pretranslate PRIVATE lingrove_model benchmark::benchmark)
endif()
