# Keeps the layers honest: reads the #include lines of every source under
# SOURCE_DIR and fails when a file leans on a folder that is not below its own
# (so that no two folders lean on each other either), when a plain C++ folder
# includes Qt, or when a folder has no place in the order below.
#
#   cmake -DSOURCE_DIR=<src> -P CheckLayers.cmake

cmake_minimum_required(VERSION 3.25)

# From the bottom up; a folder may include only folders of lower lines. In
# batch/ and phonebook/ the page (*_page.*) is a widget of its own above the
# plain rest of the folder.
set(layer_order
    "protocol xml notifier process"
    "settings phonebook sim records csv"
    "link"
    "batch"
    "history"
    "vexa_t"
    "widgets"
    "pages phonebook_page"
    "batch_page"
    "app")
set(plain_units protocol xml notifier process settings phonebook sim records csv link batch history vexa_t)
set(folders_with_a_page batch phonebook)

if(NOT IS_DIRECTORY "${SOURCE_DIR}")
  message(FATAL_ERROR "SOURCE_DIR must name the source folder, not '${SOURCE_DIR}'")
endif()

set(level 0)
foreach(line IN LISTS layer_order)
  string(REPLACE " " ";" units "${line}")
  foreach(unit IN LISTS units)
    set(level_of_${unit} ${level})
  endforeach()
  math(EXPR level "${level} + 1")
endforeach()

# The unit a path inside SOURCE_DIR ("batch/batch_page.h") belongs to.
function(unit_of path result)
  string(REGEX MATCH "^[^/]+" folder "${path}")
  get_filename_component(name "${path}" NAME_WE)
  if(folder IN_LIST folders_with_a_page AND name MATCHES "_page$")
    set(${result} "${folder}_page" PARENT_SCOPE)
  else()
    set(${result} "${folder}" PARENT_SCOPE)
  endif()
endfunction()

set(faults "")
file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
list(SORT sources)
foreach(source IN LISTS sources)
  unit_of("${source}" unit)
  if(NOT DEFINED level_of_${unit})
    list(APPEND faults "${source}: folder '${unit}' has no place in the layer order")
    continue()
  endif()
  file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(include IN LISTS includes)
    if(include MATCHES "<(Q[A-Za-z]*)[/>]" AND unit IN_LIST plain_units)
      list(APPEND faults "${source}: plain C++ of '${unit}' includes Qt (${CMAKE_MATCH_1})")
    endif()
    # Only our own folders count, not system or generated headers.
    if(NOT include MATCHES "\"(([A-Za-z_][^\"/]*)/[^\"]+)\"" OR
       NOT IS_DIRECTORY "${SOURCE_DIR}/${CMAKE_MATCH_2}")
      continue()
    endif()
    set(target "${CMAKE_MATCH_1}")
    unit_of("${target}" included)
    if(included STREQUAL unit)
      continue()
    endif()
    if(NOT DEFINED level_of_${included})
      list(APPEND faults "${source}: includes ${target} of unplaced folder '${included}'")
    elseif(NOT level_of_${included} LESS level_of_${unit})
      list(APPEND faults "${source}: '${unit}' may not lean on '${included}' (${target})")
    endif()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "The layers are crossed:\n  ${text}")
endif()
list(LENGTH sources count)
message(STATUS "${count} sources keep the layer order")
