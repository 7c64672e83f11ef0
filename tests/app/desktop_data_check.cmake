# The desktop entry passes desktop-file-validate and the software-centre
# metadata passes `appstreamcli validate --no-net` (no network on the build
# machines, so links are not followed); with ROOT, an unpacked install tree,
# `appstreamcli validate-tree` also checks that the metadata, the desktop
# entry and the icon belong together. Uses DESKTOP_FILE_VALIDATE and
# APPSTREAMCLI (paths to the tools).
# Usage: cmake -DDESKTOP=... -DMETAINFO=... [-DROOT=...] -DDESKTOP_FILE_VALIDATE=...
#        -DAPPSTREAMCLI=... -P desktop_data_check.cmake (or include() and call the function)
function(desktop_data_check desktop metainfo root)
  foreach(tool DESKTOP_FILE_VALIDATE APPSTREAMCLI)
    if(NOT ${tool})
      message(FATAL_ERROR "${tool} is not set: desktop-file-utils and appstream are missing "
                          "(scripts/setup.sh installs them)")
    endif()
  endforeach()
  execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} ${desktop}
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  # It reports hints on stdout and still exits 0; a hint is a fault here too.
  if(NOT result EQUAL 0 OR NOT out STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate ${desktop}:\n${out}")
  endif()
  set(checks "validate\;${metainfo}")
  if(root)
    list(APPEND checks "validate-tree\;${root}")
  endif()
  foreach(check IN LISTS checks)
    execute_process(COMMAND ${APPSTREAMCLI} ${check} --no-net --no-color
                    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "appstreamcli ${check}:\n${out}")
    endif()
    message(STATUS "appstreamcli ${check}:\n${out}")
  endforeach()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  desktop_data_check("${DESKTOP}" "${METAINFO}" "${ROOT}")
endif()
