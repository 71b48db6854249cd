# Import libraries whose DLLs are loaded on the first call instead of at process start: the
# program's start-up does not wait for the network, dialog and automation libraries that only a
# later click needs. zk_delay_import(VAR lib...) sets VAR to the delay-import libraries (made
# with dlltool from the toolchain's own import libraries) followed by the helper that loads them.
function(zk_delay_import out)
  find_program(ZK_DLLTOOL NAMES ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32-dlltool x86_64-w64-mingw32-dlltool REQUIRED)
  set(dir ${CMAKE_BINARY_DIR}/delay-import)
  file(MAKE_DIRECTORY ${dir})
  set(libs)
  foreach(name IN LISTS ARGN)
    find_library(ZK_IMPORT_${name} NAMES ${name} REQUIRED)
    set(delay ${dir}/lib${name}_delay.a)
    if(NOT EXISTS ${delay} OR ${ZK_IMPORT_${name}} IS_NEWER_THAN ${delay})
      execute_process(COMMAND ${ZK_DLLTOOL} -I ${ZK_IMPORT_${name}} OUTPUT_VARIABLE dll
                      OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
      execute_process(COMMAND ${CMAKE_NM} ${ZK_IMPORT_${name}} OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
      string(REGEX MATCHALL " I __imp_[A-Za-z0-9_@?$]+" imports "${symbols}")
      list(TRANSFORM imports REPLACE " I __imp_" "")
      list(REMOVE_DUPLICATES imports)
      list(JOIN imports "\n" exports)
      file(WRITE ${dir}/${name}.def "LIBRARY ${dll}\nEXPORTS\n${exports}\n")
      execute_process(COMMAND ${ZK_DLLTOOL} --input-def ${dir}/${name}.def --output-delaylib ${delay}
                              --dllname ${dll} COMMAND_ERROR_IS_FATAL ANY)
    endif()
    list(APPEND libs ${delay})
  endforeach()
  set(${out} ${libs} delayimp PARENT_SCOPE)
endfunction()
