# Runs a command and writes its standard output to a file, for build rules
# whose output is what a program prints (shell completions, compressed manual
# pages). A failing command leaves no file behind, so the build stops there
# and the rule runs again next time.
#
#   cmake -D OUTPUT=<file> -P write-output.cmake -- <command> [arguments...]
cmake_minimum_required(VERSION 3.25)

set(command)
set(collecting FALSE)
foreach(index RANGE 1 ${CMAKE_ARGC})
  if(index EQUAL CMAKE_ARGC)
    break()
  endif()
  if(collecting)
    list(APPEND command "${CMAKE_ARGV${index}}")
  elseif(CMAKE_ARGV${index} STREQUAL "--")
    set(collecting TRUE)
  endif()
endforeach()
if(NOT OUTPUT OR command STREQUAL "")
  message(FATAL_ERROR "usage: cmake -D OUTPUT=<file> -P write-output.cmake -- <command> [arguments...]")
endif()

execute_process(COMMAND ${command} OUTPUT_FILE "${OUTPUT}.part" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  file(REMOVE "${OUTPUT}.part")
  list(JOIN command " " shown)
  message(FATAL_ERROR "${shown}: ${result}")
endif()
file(RENAME "${OUTPUT}.part" "${OUTPUT}")
