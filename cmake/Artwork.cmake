# add_artwork(<name> GENERATOR <target> DIR <folder> FILES <file>... [COMMENT <text>]
#             [EMBED_FOR <target>])
# Runs a picture generator during the build; it writes every listed file into DIR. With
# EMBED_FOR the pictures are compiled in as resources and linked whole into that target's users:
# nothing refers to a registration by name, so a plain static library would lose them.
function(add_artwork name)
  cmake_parse_arguments(A "" "GENERATOR;DIR;COMMENT;EMBED_FOR" "FILES" ${ARGN})
  add_custom_command(
    OUTPUT ${A_FILES}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${A_DIR}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:${A_GENERATOR}> ${A_DIR}
    DEPENDS ${A_GENERATOR}
    COMMENT "${A_COMMENT}"
    VERBATIM)
  add_custom_target(${name}_files ALL DEPENDS ${A_FILES})
  if(A_EMBED_FOR)
    add_library(${name}_resources STATIC)
    vcl_embed_resources(${name}_resources FILES ${A_FILES} DEPENDS ${name}_files)
    target_link_libraries(${name}_resources PRIVATE vcl)
    target_link_libraries(${A_EMBED_FOR} INTERFACE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${name}_resources>")
  endif()
endfunction()
