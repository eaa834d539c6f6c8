# SHAREMON_VERSION, read from the version's one home, the header the program shows it from
# (core/version.h), for the Linux package and the Windows installer.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/../core/version.h version_line REGEX "kProgramVersion\\[\\] =")
string(REGEX REPLACE ".*\"(.*)\".*" "\\1" SHAREMON_VERSION "${version_line}")
