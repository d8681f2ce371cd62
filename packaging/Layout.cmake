# Where an install puts the program and its data, relative to the prefix (~/.local, /usr): the
# program in a folder of its own, where it keeps its settings and history when it may write
# there, and the read-only data (help file, samples) under share/. The program finds its help
# file and its samples through ZAV_DATA_FROM_PROGRAM when none lie beside it.
include(GNUInstallDirs)

set(ZAV_PROGRAM_DIR "lib/zavmap")
set(ZAV_DATA_DIR "${CMAKE_INSTALL_DATADIR}/zavmap")
set(ZAV_DOC_DIR "${CMAKE_INSTALL_DATADIR}/doc/zavmap")
file(RELATIVE_PATH ZAV_DATA_FROM_PROGRAM "/${ZAV_PROGRAM_DIR}" "/${ZAV_DATA_DIR}")
