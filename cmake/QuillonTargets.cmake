# Helpers that keep the layering rule in the build itself: a logic target
# gets no Qt at all, so a widget include in it fails to compile.

# quillon_logic_library(name SOURCES ... LINKS ...)
function(quillon_logic_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_LINKS})
  set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
  foreach(dep IN LISTS ARG_LINKS)
    if(dep MATCHES "^Qt6::")
      message(FATAL_ERROR "${name} is plain logic and may not link ${dep}")
    endif()
  endforeach()
endfunction()

# quillon_view_library(name SOURCES ... LINKS ...): a Qt library.
function(quillon_view_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_LINKS})
  set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON)
endfunction()
