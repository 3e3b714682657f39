# Runs the layer check on a tree that keeps the order, then on copies of it
# with one crossing each: the check must pass the first and name each fault.
cmake_minimum_required(VERSION 3.25)

# A tree in order: settings over protocol, link over both, a page over link.
set(sound_files
    "protocol/envelope.h|#include <string>"
    "settings/setting.h|#include \"protocol/envelope.h\""
    "link/exchange.h|#include \"settings/setting.h\"\n#include \"protocol/envelope.h\""
    "phonebook/phone_book_page.cpp|#include <QWidget>\n#include \"link/exchange.h\""
    "pages/page.cpp|#include <QWidget>\n#include \"../tests/support/x.h\"\n#include \"ui_page.h\"")

# One crossing each: the file added and words the check must say.
set(crossings
    "protocol/reply.h|#include \"link/exchange.h\"|'protocol' may not lean on 'link'"
    "settings/other.h|#include \"phonebook/store.h\"|'settings' may not lean on 'phonebook'"
    "phonebook/store.h|#include \"phonebook/phone_book_page.h\"|'phonebook' may not lean on 'phonebook_page'"
    "link/port.h|#include <QString>|plain C++ of 'link' includes Qt (QString)"
    "cli/main.cpp|#include \"link/exchange.h\"|folder 'cli' has no place")

function(write_tree dir)
  file(REMOVE_RECURSE "${dir}")
  foreach(entry IN LISTS sound_files ARGN)
    string(REPLACE "|" ";" parts "${entry}")
    list(GET parts 0 path)
    list(GET parts 1 text)
    string(REPLACE "\\n" "\n" text "${text}")
    file(WRITE "${dir}/${path}" "${text}\n")
  endforeach()
endfunction()

function(run_check dir result output)
  execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${dir} -P ${CHECK}
                  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(${result} ${code} PARENT_SCOPE)
  set(${output} "${out}${err}" PARENT_SCOPE)
endfunction()

write_tree("${WORK_DIR}/sound")
run_check("${WORK_DIR}/sound" code output)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "A tree in order was refused:\n${output}")
endif()

set(index 0)
foreach(crossing IN LISTS crossings)
  string(REPLACE "|" ";" parts "${crossing}")
  list(GET parts 0 path)
  list(GET parts 1 text)
  list(GET parts 2 words)
  write_tree("${WORK_DIR}/crossing${index}" "${path}|${text}")
  run_check("${WORK_DIR}/crossing${index}" code output)
  string(FIND "${output}" "${words}" found)
  if(code EQUAL 0 OR found EQUAL -1)
    message(FATAL_ERROR "${path} with '${text}' was not caught as \"${words}\":\n${output}")
  endif()
  math(EXPR index "${index} + 1")
endforeach()
