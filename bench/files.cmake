# bench_files: the settings store opening a large file (50,000 keys, about
# 1 MB), and the file writer replacing files of several sizes (flushed to
# disk each time).
if(TARGET lingrove_platform)
  add_executable(bench_files ${CMAKE_CURRENT_LIST_DIR}/files_bench.cpp)
  target_link_libraries(bench_files PRIVATE lingrove_platform benchmark::benchmark)
endif()
