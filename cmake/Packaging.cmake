# What an installation carries besides the programs (manual pages, AppStream metadata, copyright
# notice), and the Debian package built from it with `cpack -G DEB` in the build folder.

# Manual pages, gzipped as Debian expects (-n keeps names and times out, so builds are repeatable).
set(QUENDRA_MAN_PAGES
    "${PROJECT_SOURCE_DIR}/res/man/quendra.1"
    "${PROJECT_SOURCE_DIR}/res/man/quendra_engine_standin.1"
    "${PROJECT_SOURCE_DIR}/res/man/quendra_node_standin.1")
find_program(QUENDRA_GZIP gzip)
set(QUENDRA_MAN_OUTPUTS)
foreach(page ${QUENDRA_MAN_PAGES})
    get_filename_component(name "${page}" NAME)
    if(QUENDRA_GZIP)
        set(output "${PROJECT_BINARY_DIR}/man/${name}.gz")
        add_custom_command(OUTPUT "${output}"
            COMMAND "${CMAKE_COMMAND}" -E copy "${page}" "${PROJECT_BINARY_DIR}/man/${name}"
            COMMAND "${QUENDRA_GZIP}" -9nf "${PROJECT_BINARY_DIR}/man/${name}"
            DEPENDS "${page}" VERBATIM)
        list(APPEND QUENDRA_MAN_OUTPUTS "${output}")
    else()
        list(APPEND QUENDRA_MAN_OUTPUTS "${page}")
    endif()
endforeach()
add_custom_target(quendra_man_pages ALL DEPENDS ${QUENDRA_MAN_OUTPUTS})
install(FILES ${QUENDRA_MAN_OUTPUTS} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES "${PROJECT_SOURCE_DIR}/res/org.tamblix.Quendra.metainfo.xml"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES "${PROJECT_SOURCE_DIR}/res/copyright" DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quendra)

# Directories made by the installation are 0755 whatever the umask of the person building.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_PACKAGE_NAME quendra)
set(CPACK_PACKAGE_VENDOR "Quendra developers")
set(CPACK_PACKAGE_CONTACT "Quendra developers <quendra@localhost>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "DX cluster client for amateur radio operators")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quendra developers <quendra@localhost>")
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The first line of the control file's Description is the summary above; cpack indents these lines.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Quendra follows DX spots two ways at once: over a telnet connection to a DX
cluster node, and through a packet-radio engine reached over TCP, whose
monitored AX.25 frames it shows. It recognises spot announcements in both
streams, drops duplicates, ages spots out and lists them under a band tree.

The package also carries two stand-in servers, a packet-radio engine and a
cluster node, that listen on 127.0.0.1 only, for demos and tests.")

include(CPack)
