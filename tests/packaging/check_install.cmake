# Installs the build into a throw-away DESTDIR and checks what a desktop needs of it.
# Expects BUILD_DIR and STAGE_DIR.
file(REMOVE_RECURSE "${STAGE_DIR}")

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "failed (${result}): ${ARGN}\n${out}")
    endif()
    message(STATUS "${ARGN}\n${out}")
endfunction()

run(${CMAKE_COMMAND} -E env DESTDIR=${STAGE_DIR}
    ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix /usr)

set(root "${STAGE_DIR}/usr")
foreach(file
        bin/kardeon
        share/applications/org.kardeon.Kardeon.desktop
        share/metainfo/org.kardeon.Kardeon.metainfo.xml
        share/icons/hicolor/scalable/apps/org.kardeon.Kardeon.svg
        share/icons/hicolor/48x48/apps/org.kardeon.Kardeon.png
        share/icons/hicolor/256x256/apps/org.kardeon.Kardeon.png
        share/man/man1/kardeon.1.gz
        share/kardeon/sample.csv)
    if(NOT EXISTS "${root}/${file}")
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()

run(desktop-file-validate "${root}/share/applications/org.kardeon.Kardeon.desktop")
run(appstreamcli validate --no-net "${root}/share/metainfo/org.kardeon.Kardeon.metainfo.xml")
# The tree as a whole: the metainfo's launchable names an installed desktop file.
run(appstreamcli validate-tree --no-net "${STAGE_DIR}")
file(REMOVE_RECURSE "${STAGE_DIR}")
