# Pixel loops must vectorise in what users build, on any x86-64: -O3 on the libraries that hold
# them, in every optimised configuration, and no -march beyond the baseline.
function(velmora_pixel_code target)
  target_compile_options(${target} PRIVATE $<$<NOT:$<CONFIG:Debug>>:-O3>)
endfunction()

# Sources of a folder, so that a new file needs no edit here.
function(velmora_glob out)
  set(files)
  foreach(dir IN LISTS ARGN)
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND files ${found})
  endforeach()
  set(${out} ${files} PARENT_SCOPE)
endfunction()

# Where the build draws and packs the program's skin (tools/CMakeLists.txt makes them), known
# before any folder so that every one can embed them.
set(VELMORA_SKIN_ARCHIVE ${CMAKE_BINARY_DIR}/skin/skin.asz)
set(VELMORA_SHADOW_ACTIVE ${CMAKE_BINARY_DIR}/skin/ACSHDA.png)
set(VELMORA_SHADOW_INACTIVE ${CMAKE_BINARY_DIR}/skin/ACSHDI.png)

# Embeds files into a target as module resources, found at run time with FindResource under
# (type, name):
#   velmora_embed_resources(TARGET <target> [DEPENDS <targets>...]
#                           RESOURCES <TYPE> <NAME> <FILE> [<TYPE> <NAME> <FILE> ...])
# Files in the build tree are made by the build: DEPENDS names the targets that make them.
# Types and names ignore case; RCDATA and BITMAP stand for the numbered types RT_RCDATA and
# RT_BITMAP, "#n" for any number. The table is generated at build time and rebuilt when a file
# changes. Its object goes straight onto the link line of every executable that uses the target
# (it registers itself before main), so no static library can drop it.
set(VELMORA_EMBED_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/embed_resources.cmake)
function(velmora_embed_resources)
  cmake_parse_arguments(E "" "TARGET" "RESOURCES;DEPENDS" ${ARGN})
  list(LENGTH E_RESOURCES count)
  math(EXPR rest "${count} % 3")
  if(NOT E_TARGET OR count EQUAL 0 OR NOT rest EQUAL 0)
    message(FATAL_ERROR "velmora_embed_resources: TARGET <target> RESOURCES <TYPE> <NAME> <FILE> ...")
  endif()
  set(manifest "")
  set(files "")
  set(keys "")
  math(EXPR last "${count} - 1")
  foreach(i RANGE 0 ${last} 3)
    math(EXPR n "${i} + 1")
    math(EXPR f "${i} + 2")
    list(GET E_RESOURCES ${i} type)
    list(GET E_RESOURCES ${n} name)
    list(GET E_RESOURCES ${f} file)
    get_filename_component(file ${file} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    string(TOUPPER "${type}" type)
    string(TOUPPER "${name}" name)
    if(type STREQUAL "RCDATA")
      set(type "#10")
    elseif(type STREQUAL "BITMAP")
      set(type "#2")
    endif()
    cmake_path(IS_PREFIX CMAKE_BINARY_DIR ${file} NORMALIZE generated)
    if(NOT EXISTS ${file} AND NOT (generated AND E_DEPENDS))
      message(FATAL_ERROR "velmora_embed_resources: ${file} does not exist")
    endif()
    if(file MATCHES "[\"\\\\\n]" OR type MATCHES "[\"\\\\|]" OR name MATCHES "[\"\\\\|]")
      message(FATAL_ERROR "velmora_embed_resources: quotes, backslashes and bars are not allowed: ${type} ${name} ${file}")
    endif()
    if("${type}|${name}" IN_LIST keys)
      message(FATAL_ERROR "velmora_embed_resources: ${type} ${name} is embedded twice into ${E_TARGET}")
    endif()
    list(APPEND keys "${type}|${name}")
    string(APPEND manifest "${type}|${name}|${file}\n")
    list(APPEND files ${file})
  endforeach()

  set(dir ${CMAKE_CURRENT_BINARY_DIR}/${E_TARGET}_resources)
  set(list_file ${dir}/manifest.txt)
  set(out ${dir}/resources.cpp)
  file(CONFIGURE OUTPUT ${list_file} CONTENT "${manifest}" @ONLY)
  string(MAKE_C_IDENTIFIER "velmora_res_${E_TARGET}" prefix)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DMANIFEST=${list_file} -DOUTPUT=${out} -DPREFIX=${prefix} -P ${VELMORA_EMBED_SCRIPT}
    DEPENDS ${list_file} ${files} ${VELMORA_EMBED_SCRIPT}
    COMMENT "Embedding resources into ${E_TARGET}"
    VERBATIM)
  add_library(${E_TARGET}_resources OBJECT ${out})
  if(E_DEPENDS)
    add_dependencies(${E_TARGET}_resources ${E_DEPENDS})
  endif()
  target_include_directories(${E_TARGET}_resources PRIVATE ${PROJECT_SOURCE_DIR}/src)
  get_target_property(kind ${E_TARGET} TYPE)
  if(kind STREQUAL "EXECUTABLE")
    target_sources(${E_TARGET} PRIVATE $<TARGET_OBJECTS:${E_TARGET}_resources>)
  else()
    target_link_libraries(${E_TARGET} INTERFACE $<TARGET_OBJECTS:${E_TARGET}_resources>)
    add_dependencies(${E_TARGET} ${E_TARGET}_resources)
  endif()
endfunction()

# The program's own resources: its form descriptions, its pictures, its skin and the shadow
# templates (drawn and packed by tools/), for the executable and for tests that build its windows.
function(velmora_app_resources target)
  velmora_embed_resources(TARGET ${target} DEPENDS app_images_png velmora_skin_archive RESOURCES
    RCDATA TMainForm ${PROJECT_SOURCE_DIR}/resources/forms/MainForm.form
    RCDATA TFormOption ${PROJECT_SOURCE_DIR}/resources/forms/FormOption.form
    RCDATA GEAR ${CMAKE_BINARY_DIR}/resources/app/gear.png
    RCDATA ABOUT ${CMAKE_BINARY_DIR}/resources/app/about.png
    VCLSTYLE Resource1 ${VELMORA_SKIN_ARCHIVE}
    RCDATA ACSHDA ${VELMORA_SHADOW_ACTIVE}
    RCDATA ACSHDI ${VELMORA_SHADOW_INACTIVE})
endfunction()
