# Helpers that keep the layering rules in the build itself (docs/architecture.md):
# - a logic target gets no Qt at all, so a widget include in it fails to compile;
# - every target of src/ says which folders under src/ it may use besides its
#   own (MAY_USE): a link to a target of another folder is checked against
#   that list when the build is configured (quillon_check_layer_links), and every #include "folder/..."
#   reached from its sources before it compiles (cmake/CheckLayer.cmake).

# The layer checks of one target of src/; targets elsewhere (the tests' own
# libraries) have none.
function(quillon_check_layer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS;MAY_USE" ${ARGN})
  set(src_root ${PROJECT_SOURCE_DIR}/src)
  file(RELATIVE_PATH here ${src_root} ${CMAKE_CURRENT_SOURCE_DIR})
  if(here MATCHES "^\\.\\.")
    return()
  endif()
  set_property(GLOBAL PROPERTY quillon_folder_of_${name} ${here})
  set(own ${here})
  set(sources "")
  foreach(source IN LISTS ARG_SOURCES)
    get_filename_component(absolute ${source} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    get_filename_component(dir ${absolute} DIRECTORY)
    file(RELATIVE_PATH folder ${src_root} ${dir})
    list(APPEND sources ${absolute})
    list(APPEND own ${folder})
  endforeach()
  list(REMOVE_DUPLICATES own)

  # Links are checked once every target is declared (quillon_check_layer_links).
  set_property(GLOBAL APPEND PROPERTY quillon_layered_targets ${name})
  set_property(GLOBAL PROPERTY quillon_own_of_${name} "${own}")
  set_property(GLOBAL PROPERTY quillon_may_use_of_${name} "${ARG_MAY_USE}")
  set_property(GLOBAL PROPERTY quillon_links_of_${name} "${ARG_LINKS}")

  if(NOT sources)
    return()
  endif()
  set(headers "")
  foreach(folder IN LISTS own)
    file(GLOB found CONFIGURE_DEPENDS ${src_root}/${folder}/*.h)
    list(APPEND headers ${found})
  endforeach()
  list(JOIN sources "," sources_arg)
  list(JOIN own "," own_arg)
  list(JOIN ARG_MAY_USE "," may_use_arg)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${name}.layer)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DTARGET=${name} -DROOT=${src_root} -DSOURCES=${sources_arg}
            -DOWN=${own_arg} -DMAY_USE=${may_use_arg} -DSTAMP=${stamp}
            -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayer.cmake
    DEPENDS ${sources} ${headers} ${PROJECT_SOURCE_DIR}/cmake/CheckLayer.cmake
    COMMENT "Checking the includes of ${name} against its layer"
    VERBATIM)
  add_custom_target(${name}_layer DEPENDS ${stamp})
  add_dependencies(${name} ${name}_layer)
endfunction()

# Checks every layered target's links to our targets against its MAY_USE;
# called at the end of src/, when every target is declared.
function(quillon_check_layer_links)
  get_property(targets GLOBAL PROPERTY quillon_layered_targets)
  foreach(name IN LISTS targets)
    get_property(own GLOBAL PROPERTY quillon_own_of_${name})
    get_property(may_use GLOBAL PROPERTY quillon_may_use_of_${name})
    get_property(links GLOBAL PROPERTY quillon_links_of_${name})
    foreach(dep IN LISTS links)
      if(NOT dep MATCHES "^quillon_")
        continue()
      endif()
      get_property(folder GLOBAL PROPERTY quillon_folder_of_${dep})
      if(NOT folder)
        message(FATAL_ERROR "${name} links ${dep}, which is no layered target of src/")
      endif()
      if(NOT folder IN_LIST own AND NOT folder IN_LIST may_use)
        message(FATAL_ERROR "${name} may not link ${dep} (src/${folder}): add ${folder} to "
                            "its MAY_USE only if docs/architecture.md allows it")
      endif()
    endforeach()
  endforeach()
endfunction()

# quillon_logic_library(name [SOURCES ...] LINKS ... [MAY_USE folder ...]):
# plain C++, no Qt; with no sources, a header-only library.
function(quillon_logic_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS;MAY_USE" ${ARGN})
  foreach(dep IN LISTS ARG_LINKS)
    if(dep MATCHES "^Qt6::")
      message(FATAL_ERROR "${name} is plain logic and may not link ${dep}")
    endif()
  endforeach()
  if(NOT ARG_SOURCES)
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARG_LINKS})
  else()
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_LINKS})
    set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
  endif()
  quillon_check_layer(${name} ${ARGN})
endfunction()

# quillon_view_library(name SOURCES ... LINKS ... [MAY_USE folder ...]): a
# library on Qt (Widgets, or Core alone for the engine's event loop).
function(quillon_view_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS;MAY_USE" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_LINKS})
  set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON)
  quillon_check_layer(${name} ${ARGN})
endfunction()
