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
