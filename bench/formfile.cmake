# bench_formfile: both form-file conversions on a large generated form.
if(TARGET lingrove_formfile)
  add_executable(bench_formfile ${CMAKE_CURRENT_LIST_DIR}/formfile_bench.cpp)
  target_link_libraries(bench_formfile PRIVATE lingrove_formfile benchmark::benchmark)
endif()
