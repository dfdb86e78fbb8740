# bench_server_dictionary: lookup and store latency on tables of a million
# records (LINGROVE_BENCH_RECORDS), on this computer (SQLite) and on a
# PostgreSQL server over loopback that the program starts itself
# (tests/common/PostgresServer.h, fsync on), and stores per second with
# eight writers at once.
if(TARGET lingrove_model)
  add_executable(bench_server_dictionary ${CMAKE_CURRENT_LIST_DIR}/server_dictionary_bench.cpp
                 ${LINGROVE_SOURCE_ROOT}/tests/common/PostgresServer.cpp)
  target_include_directories(bench_server_dictionary PRIVATE ${LINGROVE_SOURCE_ROOT})
  target_link_libraries(bench_server_dictionary PRIVATE lingrove_model benchmark::benchmark)
endif()
