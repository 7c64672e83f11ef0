# Builds the Debian package from the build folder, checks its control fields
# (every library the program opens by name in Depends) and file list, has
# lintian check it (no error, no warning), unpacks it into a throwaway root,
# validates the unpacked desktop entry and software-centre metadata, and runs
# the unpacked program there (offscreen, its own HOME) to see that it keeps
# Config.ini in the user's folder and that the manual tells every key of the
# Quillon.ini it writes. Not an apt install on a fresh machine (that
# needs a chroot, too heavy for each test run), but the same files and fields.
# Usage: cmake -DBUILD=... -DSOURCES=<src folder> -DWORK=... -DCPACK=... -DLINTIAN=...
#        -DAPPSTREAMCLI=... -DDESKTOP_FILE_VALIDATE=... -P debian_package_check.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/package)
execute_process(COMMAND ${CPACK} -G DEB -B ${WORK}/package
                WORKING_DIRECTORY ${BUILD} RESULT_VARIABLE result OUTPUT_VARIABLE log ERROR_VARIABLE log)
file(GLOB debs ${WORK}/package/quillon_*.deb)
if(NOT result EQUAL 0 OR NOT debs)
  message(FATAL_ERROR "cpack -G DEB failed (${result}):\n${log}")
endif()
list(GET debs 0 deb)

function(control field out)
  execute_process(COMMAND dpkg-deb --field ${deb} ${field} OUTPUT_VARIABLE value
                  OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "dpkg-deb cannot read ${field} of ${deb}")
  endif()
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

control(Package name)
control(Architecture arch)
control(Depends depends)
if(NOT name STREQUAL "quillon" OR arch STREQUAL "")
  message(FATAL_ERROR "unexpected control fields: Package=${name} Architecture=${arch}")
endif()
# The libraries the program links, as dpkg-shlibdeps finds them, and Qt's
# window-system plugins, which it loads at run time.
foreach(needed libc6 libstdc\\+\\+6 libqt6widgets6 libqt6gui6 libavformat libavcodec
        libswresample libportaudio2 libjack-jackd2-0 librtmidi liblo libebur128
        qt6-qpa-plugins)
  if(NOT depends MATCHES "(^|, )${needed}")
    message(FATAL_ERROR "Depends lacks ${needed}: ${depends}")
  endif()
endforeach()
set(DEPENDS "${depends}")
include(${CMAKE_CURRENT_LIST_DIR}/loaded_libraries_check.cmake)

execute_process(COMMAND dpkg-deb --contents ${deb} OUTPUT_VARIABLE contents)
foreach(path
    ./usr/bin/quillon
    ./usr/share/quillon/welcome.html
    ./usr/share/applications/studio.quillon.Quillon.desktop
    ./usr/share/metainfo/studio.quillon.Quillon.metainfo.xml
    ./usr/share/man/man1/quillon.1.gz
    ./usr/share/doc/quillon/changelog.gz
    ./usr/share/doc/quillon/copyright
    ./usr/share/icons/hicolor/48x48/apps/quillon.png
    ./usr/share/icons/hicolor/256x256/apps/quillon.png)
  string(FIND "${contents}" " ${path}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the package lacks ${path}:\n${contents}")
  endif()
endforeach()
# Nothing of the tests, benchmarks or build tree.
if(contents MATCHES "bench_|_tests|gtest|benchmark|/usr/local")
  message(FATAL_ERROR "the package holds more than the program:\n${contents}")
endif()

# Debian's own checker: any error or warning fails; the informational tags
# are shown in the test's output.
if(NOT LINTIAN)
  message(FATAL_ERROR "lintian is not installed (scripts/setup.sh installs it)")
endif()
execute_process(COMMAND ${LINTIAN} --display-info --fail-on error,warning ${deb}
                RESULT_VARIABLE result OUTPUT_VARIABLE lintian_out ERROR_VARIABLE lintian_out)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "lintian finds fault with ${deb}:\n${lintian_out}")
endif()
message(STATUS "lintian: no error, no warning\n${lintian_out}")

# The unpacked program in a throwaway root, started as from the menu.
set(root ${WORK}/root)
set(home ${WORK}/home)
file(MAKE_DIRECTORY ${root} ${home} ${WORK}/runtime)
file(CHMOD ${WORK}/runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
execute_process(COMMAND dpkg-deb --extract ${deb} ${root} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "dpkg-deb --extract failed")
endif()

# What software centres and menus read, as installed.
include(${CMAKE_CURRENT_LIST_DIR}/desktop_data_check.cmake)
desktop_data_check(${root}/usr/share/applications/studio.quillon.Quillon.desktop
                   ${root}/usr/share/metainfo/studio.quillon.Quillon.metainfo.xml ${root}/usr)
set(config ${home}/.config/quillon/Config.ini)
execute_process(
  COMMAND env -u XDG_CONFIG_HOME HOME=${home} XDG_RUNTIME_DIR=${WORK}/runtime
          QT_QPA_PLATFORM=offscreen
          sh -c "'${root}/usr/bin/quillon' & pid=$!; i=0; while [ ! -s '${config}' ] && [ $i -lt 300 ]; do sleep 0.1; i=$((i+1)); done; kill $pid; wait $pid; true"
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT EXISTS ${config})
  message(FATAL_ERROR "the unpacked program wrote no ${config}:\n${out}")
endif()
file(READ ${config} ini)
if(NOT ini MATCHES "FirstExec")
  message(FATAL_ERROR "Config.ini lacks the first-run mark:\n${ini}")
endif()
# Quillon.ini, written beside it with every key at its default, is all in the manual.
include(${CMAKE_CURRENT_LIST_DIR}/manual_settings_check.cmake)
manual_settings_check(${root}/usr/share/man/man1/quillon.1.gz ${home}/.config/quillon/Quillon.ini)
file(GLOB stray ${root}/usr/bin/Config.ini ${root}/usr/share/quillon/Config.ini)
if(stray)
  message(FATAL_ERROR "Config.ini written into the program's folder: ${stray}")
endif()
message(STATUS "${deb}: Depends: ${depends}")
