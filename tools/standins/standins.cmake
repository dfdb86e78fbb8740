# lingrove-tools: the stand-ins for the Delphi programs, Notepad and Explorer,
# copied into <bin>/delphi (the default tool folder), and the program's
# readme.txt beside the program.
set(lingrove_standins dcc32.exe brcc32.exe delphi32.exe imagedit.exe Notepad.exe explorer)
set(lingrove_standin_dir ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/delphi)
set(lingrove_standin_outputs)
foreach(tool ${lingrove_standins})
  set(src ${CMAKE_CURRENT_LIST_DIR}/${tool})
  set(dst ${lingrove_standin_dir}/${tool})
  add_custom_command(OUTPUT ${dst}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${lingrove_standin_dir}
    COMMAND ${CMAKE_COMMAND} -E copy ${src} ${dst}
    COMMAND chmod 755 ${dst}
    DEPENDS ${src}
    COMMENT "Stand-in ${tool}")
  list(APPEND lingrove_standin_outputs ${dst})
endforeach()
add_custom_command(OUTPUT ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/readme.txt
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/readme.txt ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/readme.txt
  DEPENDS ${CMAKE_SOURCE_DIR}/readme.txt
  COMMENT "readme.txt")
add_custom_target(lingrove-tools ALL
  DEPENDS ${lingrove_standin_outputs} ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/readme.txt)
