# The help pages as plain HTML beside the program (help/index.html and the
# pages with their pictures), for desktops that have no viewer for ebk.chm.
# Installed into share/etibarix/help with the help file.

file(GLOB_RECURSE HTML_HELP_SOURCES CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
     ${CMAKE_CURRENT_SOURCE_DIR}/*.html ${CMAKE_CURRENT_SOURCE_DIR}/*.htm
     ${CMAKE_CURRENT_SOURCE_DIR}/*.css
     ${CMAKE_CURRENT_SOURCE_DIR}/*.png ${CMAKE_CURRENT_SOURCE_DIR}/*.jpg
     ${CMAKE_CURRENT_SOURCE_DIR}/*.gif ${CMAKE_CURRENT_SOURCE_DIR}/*.svg)
set(HTML_HELP_DIR ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/help)
set(HTML_HELP_FILES)
foreach(source IN LISTS HTML_HELP_SOURCES)
  set(target ${HTML_HELP_DIR}/${source})
  add_custom_command(OUTPUT ${target}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/${source} ${target}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${source}
    VERBATIM)
  list(APPEND HTML_HELP_FILES ${target})
endforeach()
add_custom_target(etibarix_html_help ALL DEPENDS ${HTML_HELP_FILES})
install(DIRECTORY ${HTML_HELP_DIR} DESTINATION ${CMAKE_INSTALL_DATADIR}/etibarix)
