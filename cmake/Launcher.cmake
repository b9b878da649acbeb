# Helpers to build a launcher executable around a resource script.
#
# A resource script lists one resource per line:  NAME TYPE "file"
# (file relative to the script's RESOURCE_DIR). The same script serves both
# hosts: on Windows windres compiles it into the executable; on POSIX it is
# turned into an assembler table that links the files in with .incbin, so
# the bytes lie in place in the image and are looked up by type and name.
#
#   add_launcher(TARGET <name> RESOURCE_SCRIPT <rc>
#                [RESOURCE_DIR <dir>] [OUTPUT_NAME <file name>]
#                [DEPENDS <targets or files that make the payload>...])
#
# builds the launcher executable <name> (GUI subsystem and application
# manifest on Windows) from launcher/main.cc and launcher_core.
#
#   target_resource_script(<target> RESOURCE_SCRIPT <rc>
#                          [RESOURCE_DIR <dir>] [TAG <name>] [DEPENDS ...])
#
# links the resources of <rc> into any executable (tests use it too).
# RESOURCE_DIR defaults to the directory of <rc>; every payload file is a
# dependency of the build, so a changed file rebuilds.

set(LAUNCHER_CMAKE_DIR ${CMAKE_CURRENT_LIST_DIR})

# Reads <rc>; sets <prefix>_NAMES, <prefix>_TYPES and <prefix>_FILES
# (absolute paths) in the caller's scope.
function(launcher_read_resource_script rc dir prefix)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${rc})
  file(STRINGS ${rc} lines)
  set(names)
  set(types)
  set(files)
  foreach(line IN LISTS lines)
    if(line MATCHES "^[ \t]*(//|#|/\\*)")
      continue()
    endif()
    if(line MATCHES "^[ \t]*([^ \t\"]+)[ \t]+([^ \t\"]+)[ \t]+\"([^\"]+)\"[ \t]*$")
      list(APPEND names ${CMAKE_MATCH_1})
      list(APPEND types ${CMAKE_MATCH_2})
      get_filename_component(file ${CMAKE_MATCH_3} ABSOLUTE BASE_DIR ${dir})
      list(APPEND files ${file})
    endif()
  endforeach()
  set(${prefix}_NAMES ${names} PARENT_SCOPE)
  set(${prefix}_TYPES ${types} PARENT_SCOPE)
  set(${prefix}_FILES ${files} PARENT_SCOPE)
endfunction()

# The POSIX resource table as assembler text.
function(launcher_resource_assembly prefix out_var)
  set(data "\t.section .rodata.launcher_resource_data,\"a\"\n")
  set(strings "\t.section .rodata.launcher_resource_names,\"a\"\n")
  set(table "\t.section .data.rel.ro.launcher_resource_table,\"aw\"\n\t.p2align 3\n")
  string(APPEND table "\t.globl launcher_resource_table\n\t.type launcher_resource_table, @object\n")
  string(APPEND table "launcher_resource_table:\n")
  set(index 0)
  foreach(name type file IN ZIP_LISTS ${prefix}_NAMES ${prefix}_TYPES ${prefix}_FILES)
    string(REPLACE "\\" "\\\\" quoted "${file}")
    string(REPLACE "\"" "\\\"" quoted "${quoted}")
    string(APPEND data "\t.p2align 4\n.Lresource_data_${index}:\n\t.incbin \"${quoted}\"\n")
    string(APPEND data ".Lresource_end_${index}:\n")
    string(APPEND strings ".Lresource_type_${index}:\n\t.asciz \"${type}\"\n")
    string(APPEND strings ".Lresource_name_${index}:\n\t.asciz \"${name}\"\n")
    string(APPEND table "\t.dc.a .Lresource_type_${index}, .Lresource_name_${index}, .Lresource_data_${index}\n")
    string(APPEND table "\t.dc.a .Lresource_end_${index} - .Lresource_data_${index}\n")
    math(EXPR index "${index} + 1")
  endforeach()
  string(APPEND table "\t.globl launcher_resource_count\n\t.type launcher_resource_count, @object\n")
  string(APPEND table "launcher_resource_count:\n\t.dc.a ${index}\n")
  set(${out_var} "# Generated from a resource script: do not edit.\n${data}${strings}${table}\t.section .note.GNU-stack,\"\",@progbits\n" PARENT_SCOPE)
endfunction()

function(target_resource_script target)
  cmake_parse_arguments(R "" "RESOURCE_SCRIPT;RESOURCE_DIR;TAG" "DEPENDS" ${ARGN})
  if(NOT R_TAG)
    set(R_TAG resources)
  endif()
  get_filename_component(rc ${R_RESOURCE_SCRIPT} ABSOLUTE)
  if(NOT R_RESOURCE_DIR)
    get_filename_component(R_RESOURCE_DIR ${rc} DIRECTORY)
  endif()
  launcher_read_resource_script(${rc} ${R_RESOURCE_DIR} res)

  set(file_depends)
  foreach(d IN LISTS R_DEPENDS)
    if(TARGET ${d})
      add_dependencies(${target} ${d})
    else()
      list(APPEND file_depends ${d})
    endif()
  endforeach()

  if(WIN32)
    set(object ${CMAKE_CURRENT_BINARY_DIR}/${target}_${R_TAG}.o)
    add_custom_command(OUTPUT ${object}
      COMMAND ${CMAKE_RC_COMPILER} -O coff -I ${R_RESOURCE_DIR} ${rc} ${object}
      DEPENDS ${rc} ${res_FILES} ${file_depends}
      COMMENT "Compiling resources of ${target}"
      VERBATIM)
    target_sources(${target} PRIVATE ${object})
  else()
    launcher_resource_assembly(res text)
    set(assembly ${CMAKE_CURRENT_BINARY_DIR}/${target}_${R_TAG}.s)
    file(GENERATE OUTPUT ${assembly} CONTENT "${text}")
    set_source_files_properties(${assembly} PROPERTIES
      GENERATED TRUE
      OBJECT_DEPENDS "${rc};${res_FILES};${file_depends}")
    target_sources(${target} PRIVATE ${assembly})
  endif()
endfunction()

function(add_launcher)
  cmake_parse_arguments(L "" "TARGET;RESOURCE_SCRIPT;RESOURCE_DIR;OUTPUT_NAME" "DEPENDS" ${ARGN})
  if(NOT L_TARGET OR NOT L_RESOURCE_SCRIPT)
    message(FATAL_ERROR "add_launcher: TARGET and RESOURCE_SCRIPT are required")
  endif()
  add_executable(${L_TARGET} WIN32 ${PROJECT_SOURCE_DIR}/launcher/main.cc)
  target_link_libraries(${L_TARGET} PRIVATE launcher_core)
  if(L_OUTPUT_NAME)
    set_target_properties(${L_TARGET} PROPERTIES OUTPUT_NAME ${L_OUTPUT_NAME})
  endif()
  set(dir_args)
  if(L_RESOURCE_DIR)
    set(dir_args RESOURCE_DIR ${L_RESOURCE_DIR})
  endif()
  target_resource_script(${L_TARGET} RESOURCE_SCRIPT ${L_RESOURCE_SCRIPT} ${dir_args}
                         DEPENDS ${L_DEPENDS})
  if(WIN32)
    # The application manifest: administrator rights, common controls 6.
    target_resource_script(${L_TARGET} RESOURCE_SCRIPT ${PROJECT_SOURCE_DIR}/payload/manifest.rc
                           TAG manifest)
  endif()
endfunction()
