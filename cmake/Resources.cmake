# Resources compiled into a program, found at run time by Resources_Find / LoadFromResourceName.
#
#   include(cmake/Resources.cmake)
#   vcl_embed_resources(<target> [TYPE <type>] FILES <file>... [DEPENDS <target-or-file>...])
#
# Each file becomes a generated source, added to <target> itself (an executable, so that no
# static library can drop the registration), which registers the bytes at static
# initialisation under the file's base name without its last extension in upper case
# ("RES/suiButton.bmp" -> "SUIBUTTON") and under TYPE (default BITMAP).
# Relative file names are taken from the current source folder; a file produced during the
# build is named by its absolute path and listed (or its producing target) in DEPENDS.

set(_VCL_EMBED_SCRIPT "${CMAKE_CURRENT_LIST_DIR}/EmbedResource.cmake" CACHE INTERNAL "")

function(vcl_embed_resources target)
  cmake_parse_arguments(ARG "" "TYPE" "FILES;DEPENDS" ${ARGN})
  if(NOT ARG_TYPE)
    set(ARG_TYPE BITMAP)
  endif()
  if(NOT ARG_FILES)
    message(FATAL_ERROR "vcl_embed_resources(${target}): no FILES given")
  endif()
  string(TOUPPER "${ARG_TYPE}" type)
  set(outdir "${CMAKE_CURRENT_BINARY_DIR}/${target}_resources")
  foreach(file IN LISTS ARG_FILES)
    get_filename_component(path "${file}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    get_filename_component(base "${file}" NAME_WLE)
    string(TOUPPER "${base}" name)
    string(MAKE_C_IDENTIFIER "${type}_${name}" ident)
    set(out "${outdir}/${ident}.cpp")
    get_property(taken SOURCE "${out}" PROPERTY _VCL_EMBEDDED_FROM)
    if(taken AND NOT taken STREQUAL path)
      message(FATAL_ERROR "vcl_embed_resources(${target}): ${file} and ${taken} both give resource ${name}")
    endif()
    set_property(SOURCE "${out}" PROPERTY _VCL_EMBEDDED_FROM "${path}")
    add_custom_command(
      OUTPUT "${out}"
      COMMAND "${CMAKE_COMMAND}" "-DINPUT=${path}" "-DOUTPUT=${out}" "-DNAME=${name}" "-DTYPE=${type}"
              -P "${_VCL_EMBED_SCRIPT}"
      DEPENDS "${path}" "${_VCL_EMBED_SCRIPT}" ${ARG_DEPENDS}
      COMMENT "Embedding resource ${name} (${type})"
      VERBATIM)
    target_sources(${target} PRIVATE "${out}")
  endforeach()
endfunction()
