# bench_pages: the main window's page path on large files: a 20,000-line
# unit opened in a page and saved, a large form opened and saved through its
# text form, and the project tree of a project source naming many units.
if(TARGET lingrove_app)
  add_executable(bench_pages ${CMAKE_CURRENT_LIST_DIR}/pages_bench.cpp)
  target_link_libraries(bench_pages PRIVATE lingrove_app benchmark::benchmark)
endif()
