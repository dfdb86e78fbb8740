# bench_formfile: the form-file conversions on a large generated form, Free
# Pascal's converter on the same files (compiled at start when fpc is
# installed), and the start time of lingrove-cli.
if(TARGET lingrove_core)
  add_executable(bench_formfile ${CMAKE_CURRENT_LIST_DIR}/formfile_bench.cpp)
  target_link_libraries(bench_formfile PRIVATE lingrove_core benchmark::benchmark)
  if(TARGET lingrove-cli)
    add_dependencies(bench_formfile lingrove-cli)
  endif()
endif()
