# bench_similar: similar matches on a dictionary table of 100,000 records of
# generated interface texts (through the trigram index, and by reading every
# record as a table without the index does), and building the index when a
# table made without it is opened. LINGROVE_BENCH_TABLE=/path/name.db runs
# the lookups on a table of your own instead.
if(TARGET lingrove_model)
  add_executable(bench_similar ${CMAKE_CURRENT_LIST_DIR}/similar_bench.cpp)
  target_link_libraries(bench_similar PRIVATE lingrove_model benchmark::benchmark)
endif()
