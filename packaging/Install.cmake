# Installs with the layout of Layout.cmake, for a user (cmake --install build --prefix ~/.local)
# or a package (/usr, Package.cmake): the program in lib/zavmap/ with a link on the PATH, its
# help file and samples in share/zavmap/, and what a desktop wants: a desktop entry, an icon,
# the MIME type of question files, AppStream metadata and a manual page.
set(ZAV_HOMEPAGE_URL "https://zavmap.invalid/" CACHE STRING
    "Where the project's pages are published (docs/images holds the screenshots it names)")
set(ZAV_APPSTREAM_ID "org.zavmap.zavmap")
set(ZAV_PACKAGE_MAINTAINER "ZAV地図覚え maintainers <maintainers@zavmap.invalid>" CACHE STRING
    "Name and address of the package's maintainer")
# The release's date, in seconds since 1970 (UTC): the changelog entry's date and, as Debian's
# SOURCE_DATE_EPOCH, every time stamp in the package (Package.cmake). Moved on with each release.
set(ZAV_RELEASE_EPOCH 1796644800)

install(TARGETS zavmap RUNTIME DESTINATION "${ZAV_PROGRAM_DIR}")
# The charts' plugin, where the program looks for it: "plugins" beside itself.
install(TARGETS zavprogress LIBRARY DESTINATION "${ZAV_PROGRAM_DIR}/plugins")
install(FILES "${CMAKE_SOURCE_DIR}/help/ZAV地図覚えヘルプ.hlp" DESTINATION "${ZAV_DATA_DIR}")
install(DIRECTORY "${CMAKE_SOURCE_DIR}/samples/" DESTINATION "${ZAV_DATA_DIR}/samples"
        PATTERN "README.md" EXCLUDE PATTERN ".gitattributes" EXCLUDE)
install(FILES "${CMAKE_SOURCE_DIR}/packaging/zavmap.svg"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
install(FILES "${CMAKE_SOURCE_DIR}/packaging/zavmap-mime.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/mime/packages" RENAME zavmap.xml)

configure_file("${CMAKE_SOURCE_DIR}/packaging/zavmap.metainfo.xml.in"
               "${CMAKE_BINARY_DIR}/packaging/${ZAV_APPSTREAM_ID}.metainfo.xml" @ONLY)
install(FILES "${CMAKE_BINARY_DIR}/packaging/${ZAV_APPSTREAM_ID}.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")

# The manual page and the changelog are installed compressed, as Debian wants them; the
# program's target makes them, so that a build of the program alone can be installed.
# string(TIMESTAMP) writes the time SOURCE_DATE_EPOCH names, when it names one.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(zav_outer_epoch "$ENV{SOURCE_DATE_EPOCH}")
endif()
set(ENV{SOURCE_DATE_EPOCH} "${ZAV_RELEASE_EPOCH}")
string(TIMESTAMP ZAV_RELEASE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
if(DEFINED zav_outer_epoch)
    set(ENV{SOURCE_DATE_EPOCH} "${zav_outer_epoch}")
else()
    unset(ENV{SOURCE_DATE_EPOCH})
endif()
configure_file("${CMAKE_SOURCE_DIR}/packaging/changelog.in"
               "${CMAKE_BINARY_DIR}/packaging/changelog" @ONLY)
set(ZAV_GZIPPED "${CMAKE_BINARY_DIR}/packaging/zavmap.1.gz" "${CMAKE_BINARY_DIR}/packaging/changelog.gz")
add_custom_command(OUTPUT ${ZAV_GZIPPED}
    COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\" && gzip -9n -c \"$3\" > \"$4\"" sh
            "${CMAKE_SOURCE_DIR}/packaging/zavmap.1" "${CMAKE_BINARY_DIR}/packaging/zavmap.1.gz"
            "${CMAKE_BINARY_DIR}/packaging/changelog" "${CMAKE_BINARY_DIR}/packaging/changelog.gz"
    DEPENDS "${CMAKE_SOURCE_DIR}/packaging/zavmap.1" "${CMAKE_BINARY_DIR}/packaging/changelog"
    VERBATIM)
add_custom_target(zavmap_docs ALL DEPENDS ${ZAV_GZIPPED})
add_dependencies(zavmap zavmap_docs)
install(FILES "${CMAKE_BINARY_DIR}/packaging/zavmap.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${CMAKE_SOURCE_DIR}/packaging/copyright" "${CMAKE_BINARY_DIR}/packaging/changelog.gz"
        DESTINATION "${ZAV_DOC_DIR}")

# Done at install time, when the prefix given to `cmake --install --prefix` is known: a relative
# link on the PATH (the program finds its own folder through it), the desktop entry naming the
# program by its full path, and telling the desktop about both when installing for a user
# (a package's triggers do that for /usr).
file(RELATIVE_PATH ZAV_LINK_TARGET "/${CMAKE_INSTALL_BINDIR}" "/${ZAV_PROGRAM_DIR}/zavmap")
install(CODE "
    set(prefix \"\${CMAKE_INSTALL_PREFIX}\")
    set(root \"\$ENV{DESTDIR}\${prefix}\")
    set(ZAV_INSTALL_PROGRAM \"\${prefix}/${ZAV_PROGRAM_DIR}/zavmap\")
    file(MAKE_DIRECTORY \"\${root}/${CMAKE_INSTALL_BINDIR}\" \"\${root}/${CMAKE_INSTALL_DATADIR}/applications\")
    file(CREATE_LINK \"${ZAV_LINK_TARGET}\" \"\${root}/${CMAKE_INSTALL_BINDIR}/zavmap\" SYMBOLIC)
    message(STATUS \"Linking: \${root}/${CMAKE_INSTALL_BINDIR}/zavmap\")
    configure_file(\"${CMAKE_SOURCE_DIR}/packaging/zavmap.desktop.in\"
                   \"\${root}/${CMAKE_INSTALL_DATADIR}/applications/zavmap.desktop\" @ONLY)
    message(STATUS \"Installing: \${root}/${CMAKE_INSTALL_DATADIR}/applications/zavmap.desktop\")
    if(\"\$ENV{DESTDIR}\" STREQUAL \"\")
        find_program(update_mime update-mime-database)
        find_program(update_desktop update-desktop-database)
        if(update_mime)
            execute_process(COMMAND \"\${update_mime}\" \"\${root}/${CMAKE_INSTALL_DATADIR}/mime\")
        endif()
        if(update_desktop)
            execute_process(COMMAND \"\${update_desktop}\" \"\${root}/${CMAKE_INSTALL_DATADIR}/applications\")
        endif()
    endif()
")
