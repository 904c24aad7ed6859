# The help file bin/ルモーネ.chm, compiled from help/ with chmcmd.
#
# chmcmd reads the project's files relative to the project and writes the
# compiled file into its working folder, so the sources are copied into a
# folder of the build tree first; the result is compiled under an ASCII
# name and then copied to its Japanese name beside the program.

set(RUMONE_HELP_SOURCE_DIR ${CMAKE_SOURCE_DIR}/help)
set(RUMONE_HELP_WORK_DIR ${CMAKE_BINARY_DIR}/help)
set(RUMONE_HELP_PROJECT rumone.hhp)
set(RUMONE_HELP_COMPILED rumone-help.chm)
set(RUMONE_HELP_FILE ${CMAKE_BINARY_DIR}/bin/ルモーネ.chm)

file(GLOB RUMONE_HELP_SOURCES CONFIGURE_DEPENDS
  ${RUMONE_HELP_SOURCE_DIR}/*.hhp
  ${RUMONE_HELP_SOURCE_DIR}/*.hhc
  ${RUMONE_HELP_SOURCE_DIR}/*.hhk
  ${RUMONE_HELP_SOURCE_DIR}/*.html
  ${RUMONE_HELP_SOURCE_DIR}/*.css
  ${RUMONE_HELP_SOURCE_DIR}/*.png)

file(MAKE_DIRECTORY ${RUMONE_HELP_WORK_DIR})

add_custom_command(
  OUTPUT ${RUMONE_HELP_FILE}
  COMMAND ${CMAKE_COMMAND} -E copy ${RUMONE_HELP_SOURCES} ${RUMONE_HELP_WORK_DIR}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${RUMONE_HELP_COMPILED}
  COMMAND ${CHMCMD_PROGRAM} --verbosity 0 ${RUMONE_HELP_PROJECT}
  COMMAND ${CMAKE_COMMAND} -E copy ${RUMONE_HELP_COMPILED} ${RUMONE_HELP_FILE}
  WORKING_DIRECTORY ${RUMONE_HELP_WORK_DIR}
  DEPENDS ${RUMONE_HELP_SOURCES}
  COMMENT "Compiling the help file ルモーネ.chm"
  VERBATIM)

add_custom_target(rumone_help ALL DEPENDS ${RUMONE_HELP_FILE})

# The window tests read the built help file: build it before them.
function(rumone_help_before_tests)
  if(TARGET gui_tests)
    add_dependencies(gui_tests rumone_help)
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL rumone_help_before_tests)
