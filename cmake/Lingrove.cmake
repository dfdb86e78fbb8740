# Helpers shared by the folders' CMakeLists.

# lingrove_gtest(NAME SOURCES ... LIBS ... [WIDGETS | GUI])
# A GoogleTest executable run by CTest. Every test gets its own key store and
# program folder in the build tree, so that no test touches the user's files.
# WIDGETS tests get a QApplication, GUI tests (fonts and text documents, no
# widgets) a QGuiApplication; both run on the offscreen platform.
function(lingrove_gtest name)
  cmake_parse_arguments(T "WIDGETS;GUI" "" "SOURCES;LIBS" ${ARGN})
  find_package(GTest REQUIRED)
  if(T_WIDGETS)
    add_executable(${name} ${T_SOURCES} ${LINGROVE_SOURCE_ROOT}/tests/common/widgets_main.cpp)
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest Qt6::Widgets)
  elseif(T_GUI)
    add_executable(${name} ${T_SOURCES} ${LINGROVE_SOURCE_ROOT}/tests/common/gui_main.cpp)
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest Qt6::Gui)
  else()
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  endif()
  target_compile_definitions(${name} PRIVATE LINGROVE_TEST_DATA="${LINGROVE_SOURCE_ROOT}/tests/data"
                             LINGROVE_SOURCE_ROOT="${LINGROVE_SOURCE_ROOT}")
  target_include_directories(${name} PRIVATE ${LINGROVE_SOURCE_ROOT})
  set(home ${CMAKE_BINARY_DIR}/testhome/${name})
  set(env "LINGROVE_KEYSTORE=${home}/registry.txt;LINGROVE_HOME=${home}/program")
  if(T_WIDGETS OR T_GUI)
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
    # Qt keeps some process-wide caches alive until exit.
    list(APPEND env "ASAN_OPTIONS=detect_leaks=0")
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 600)
endfunction()
