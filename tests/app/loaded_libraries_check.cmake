# Every library the program opens by name ("lib….so…" written in SOURCES, as
# dlopen, dlmopen or QLibrary take it) must be in DEPENDS, the package's
# Depends field: no link shows it to dpkg-shlibdeps, so a missing one would
# only show on a machine without it, as a feature silently gone. The package
# is found the way dpkg-shlibdeps finds it for a linked library: the one that
# ships the file the dynamic loader opens for that name on this machine.
# Usage: cmake -DSOURCES=<folder> -DDEPENDS=<field> -P loaded_libraries_check.cmake
# (or include() with both set).
file(GLOB_RECURSE sources ${SOURCES}/*.cpp ${SOURCES}/*.cc ${SOURCES}/*.h ${SOURCES}/*.hpp)
set(library_pattern "\"lib[A-Za-z0-9_+.-]*\\.so[0-9.]*\"")
set(names)
foreach(source IN LISTS sources)
  file(STRINGS ${source} lines REGEX "${library_pattern}")
  foreach(line IN LISTS lines)
    string(REGEX MATCHALL "${library_pattern}" found "${line}")
    list(APPEND names ${found})
  endforeach()
endforeach()
list(TRANSFORM names REPLACE "\"" "")
list(REMOVE_DUPLICATES names)

find_program(LDCONFIG ldconfig PATHS /sbin /usr/sbin REQUIRED)
execute_process(COMMAND ${LDCONFIG} -p OUTPUT_VARIABLE loader_cache)
foreach(name IN LISTS names)
  string(REGEX MATCH "\t${name} \\([^)]*\\) => ([^\n]+)" entry "${loader_cache}")
  if(NOT entry)
    message(FATAL_ERROR "the program opens ${name} by name, and no such library is installed "
                        "here to tell which package ships it")
  endif()
  # dpkg knows a file by one path; with /lib merged into /usr/lib it may be either.
  set(path ${CMAKE_MATCH_1})
  file(REAL_PATH ${path} real)
  string(REGEX REPLACE "^/usr/" "/" unmerged ${real})
  set(package "")
  foreach(candidate ${path} ${real} ${unmerged} /usr${unmerged})
    execute_process(COMMAND dpkg-query --search ${candidate} OUTPUT_VARIABLE owner
                    RESULT_VARIABLE result ERROR_QUIET)
    if(result EQUAL 0 AND owner MATCHES "^([^:, ]+)")
      set(package ${CMAKE_MATCH_1})
      break()
    endif()
  endforeach()
  if(NOT package)
    message(FATAL_ERROR "no package ships ${path} (${name})")
  endif()
  string(REGEX REPLACE "([.+])" "\\\\\\1" escaped ${package})
  if(NOT DEPENDS MATCHES "(^|[,|] *)${escaped}( |,|$)")
    message(FATAL_ERROR "Depends lacks ${package}, which ships ${name}, opened by name: ${DEPENDS}")
  endif()
  message(STATUS "${name}, opened by name, comes with ${package}: in Depends")
endforeach()
