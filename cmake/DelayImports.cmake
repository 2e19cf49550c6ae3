# Delay-loaded system DLLs (cross build): the DLL is loaded by the first call into it rather than
# when the process starts. For each import library named, a delay-import library of every function
# it exports is made at configure time, and it takes the ordinary library's place in the list.
#
#   zelvo_delay_imports(LIBS_VAR lib:DLLNAME ...)    e.g. comctl32:COMCTL32.DLL
#
# The linker drops the jump stub of an import-library member whose function is called only through
# its import pointer (every function a system header declares for import), but a delay-import
# library needs that stub: it is where the pointer leads before the first call. A small linker
# script names every stub as an undefined symbol, so each one is kept.
function(zelvo_delay_imports libs_var)
  set(dir ${CMAKE_BINARY_DIR}/delayimports)
  file(MAKE_DIRECTORY ${dir})
  set(libs ${${libs_var}})
  set(stubs "")
  set(made "")
  foreach(entry ${ARGN})
    string(REPLACE ":" ";" pair ${entry})
    list(GET pair 0 lib)
    list(GET pair 1 dll)
    find_library(ZELVO_IMPORTLIB_${lib} ${lib} REQUIRED)
    execute_process(COMMAND ${CMAKE_NM} -g --defined-only ${ZELVO_IMPORTLIB_${lib}}
                    OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
    # Every "T" symbol is a function's stub: _Name@N on i686 (stdcall, leading underscore), Name on
    # x86-64. The DLL exports it as Name.
    string(REGEX MATCHALL "[ \t]T [^\r\n]+" symbols "${symbols}")
    set(def "LIBRARY ${dll}\nEXPORTS\n")
    foreach(s ${symbols})
      string(REGEX REPLACE "^[ \t]T " "" s "${s}")
      list(APPEND stubs ${s})
      if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        string(SUBSTRING "${s}" 1 -1 s)  # one underscore only: comctl32 exports _TrackMouseEvent
      endif()
      string(APPEND def "${s}\n")
    endforeach()
    file(WRITE ${dir}/${lib}.def "${def}")
    set(kill_at "")
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      set(kill_at --kill-at)  # the DLL's export names carry no @N
    endif()
    execute_process(COMMAND ${CMAKE_DLLTOOL} ${kill_at} --input-def ${dir}/${lib}.def --dllname ${dll}
                            --output-delaylib ${dir}/lib${lib}_delay.a
                    COMMAND_ERROR_IS_FATAL ANY)
    list(APPEND made ${dir}/lib${lib}_delay.a)
    list(REMOVE_ITEM libs ${lib})
  endforeach()
  # Quoted: a stdcall name's "@" is no name character of the script language.
  list(JOIN stubs "\"\n  \"" stubs)
  file(WRITE ${dir}/keep-stubs.ld "EXTERN(\n  \"${stubs}\"\n)\n")
  # The script comes first: the symbols it names are then taken from the delay-import libraries.
  set(${libs_var} ${dir}/keep-stubs.ld ${made} ${libs} PARENT_SCOPE)
endfunction()
