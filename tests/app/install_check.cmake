# Installs the build into PREFIX and checks that everything the desktop needs
# is there. Usage: cmake -DBUILD=... -DPREFIX=... -P install_check.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(file
    bin/quillon
    share/quillon/welcome.html
    share/applications/studio.quillon.Quillon.desktop
    share/icons/hicolor/48x48/apps/quillon.png
    share/icons/hicolor/256x256/apps/quillon.png)
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
file(READ ${PREFIX}/share/applications/studio.quillon.Quillon.desktop entry)
foreach(line "Exec=quillon" "Icon=quillon" "Type=Application")
  string(FIND "${entry}" "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the desktop entry lacks ${line}")
  endif()
endforeach()
file(READ ${PREFIX}/share/icons/hicolor/48x48/apps/quillon.png header LIMIT 8 HEX)
if(NOT header STREQUAL "89504e470d0a1a0a")
  message(FATAL_ERROR "the 48x48 icon is not a PNG")
endif()
