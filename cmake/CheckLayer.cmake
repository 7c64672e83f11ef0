# Run at build time (cmake -P) for one target of src/: every #include "x/y.h"
# reached from its sources, through the headers of its own folders, must name
# one of its own folders or a folder it may use; otherwise the build stops.
#   -DTARGET=name -DROOT=<src> -DSOURCES=a.cpp;b.cpp -DOWN=folders -DMAY_USE=folders
#   -DSTAMP=file written when the target keeps to its layer
cmake_minimum_required(VERSION 3.25)
string(REPLACE "," ";" SOURCES "${SOURCES}")
string(REPLACE "," ";" OWN "${OWN}")
string(REPLACE "," ";" MAY_USE "${MAY_USE}")

set(queue ${SOURCES})
set(seen "")
set(faults "")
while(queue)
  list(POP_FRONT queue file)
  if(file IN_LIST seen OR NOT EXISTS "${file}")
    continue()
  endif()
  list(APPEND seen "${file}")
  file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]+\"")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+\"([^\"]+)\".*" "\\1" included "${line}")
    if(NOT included MATCHES "/")
      continue()  # a file beside it (generated or local)
    endif()
    get_filename_component(folder "${included}" DIRECTORY)
    if(folder IN_LIST OWN)
      list(APPEND queue "${ROOT}/${included}")
    elseif(NOT folder IN_LIST MAY_USE)
      file(RELATIVE_PATH shown "${ROOT}" "${file}")
      list(APPEND faults "  ${shown} includes \"${included}\"")
    endif()
  endforeach()
endwhile()

if(faults)
  list(JOIN faults "\n" text)
  message(FATAL_ERROR "${TARGET} may use only its own folders (${OWN}) and: ${MAY_USE}\n${text}\n"
                      "(the layers are in docs/architecture.md)")
endif()
file(WRITE "${STAMP}" "")
