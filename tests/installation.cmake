# Installs the build into an empty prefix and checks what the desktop finds there:
# both programs, the menu entry, the icons and the AppStream metadata, validated by
# the desktop's own tools; the installed program must start.
# Run as: cmake -DBUILD=<build dir> -DPREFIX=<scratch folder> -DID=<application id>
#               -DDESKTOP_VALIDATE=<program> -DAPPSTREAMCLI=<program> -P installation.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${err}")
endif()

set(expected bin/vela bin/vela-initdb share/applications/${ID}.desktop share/metainfo/${ID}.metainfo.xml
    share/icons/hicolor/scalable/apps/${ID}.svg share/doc/vela/handbuch.md share/doc/vela/bilder/journal.png)
foreach(size 16 22 24 32 48 64 128 256)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/${ID}.png)
endforeach()
foreach(f ${expected})
  if(NOT EXISTS ${PREFIX}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()

# Hints count as faults too: a menu entry the desktop has doubts about is not done.
function(run_clean)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${rc}):\n${out}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()
if(NOT DESKTOP_VALIDATE OR NOT APPSTREAMCLI)
  message(FATAL_ERROR "desktop-file-validate or appstreamcli missing (desktop-file-utils, appstream)")
endif()
run_clean(${DESKTOP_VALIDATE} ${PREFIX}/share/applications/${ID}.desktop)
if(NOT out STREQUAL "")
  message(FATAL_ERROR "desktop-file-validate:\n${out}")
endif()
run_clean(${APPSTREAMCLI} validate-tree --no-net --pedantic ${PREFIX})

run_clean(${PREFIX}/bin/vela --help)
if(NOT out MATCHES "DATEI")
  message(FATAL_ERROR "vela --help from ${PREFIX} printed:\n${out}")
endif()
