# Installs the program into a folder of its own (program, help file, samples), since the
# program keeps its settings and history files beside itself; a user installs it where those
# can be written, for instance: cmake --install build --prefix ~/.local
# Desktop entry, icon and the MIME type of question files go to the usual share/ folders.
include(GNUInstallDirs)

set(ZAV_INSTALL_DIR "${CMAKE_INSTALL_LIBDIR}/zavmap")

install(TARGETS zavmap RUNTIME DESTINATION "${ZAV_INSTALL_DIR}")
install(FILES "${CMAKE_SOURCE_DIR}/help/ZAV地図覚えヘルプ.hlp" DESTINATION "${ZAV_INSTALL_DIR}")
install(DIRECTORY "${CMAKE_SOURCE_DIR}/samples/" DESTINATION "${ZAV_INSTALL_DIR}/samples"
        PATTERN "README.md" EXCLUDE PATTERN ".gitattributes" EXCLUDE)
install(FILES "${CMAKE_SOURCE_DIR}/packaging/zavmap.svg"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
install(FILES "${CMAKE_SOURCE_DIR}/packaging/zavmap-mime.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/mime/packages" RENAME zavmap.xml)

# Done at install time, when the prefix given to `cmake --install --prefix` is known: a link on
# the PATH (the program finds its own folder through it), the desktop entry naming the program
# by its full path, and telling the desktop about both when its tools are there.
install(CODE "
    set(prefix \"\${CMAKE_INSTALL_PREFIX}\")
    set(root \"\$ENV{DESTDIR}\${prefix}\")
    set(ZAV_INSTALL_PROGRAM \"\${prefix}/${ZAV_INSTALL_DIR}/zavmap\")
    file(MAKE_DIRECTORY \"\${root}/${CMAKE_INSTALL_BINDIR}\" \"\${root}/${CMAKE_INSTALL_DATADIR}/applications\")
    file(CREATE_LINK \"\${ZAV_INSTALL_PROGRAM}\" \"\${root}/${CMAKE_INSTALL_BINDIR}/zavmap\" SYMBOLIC)
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
