# Each layer picks up the sources of its folders, so a new module is a new
# header/source pair and nothing else.
function(tavi_collect_sources out_var)
  set(sources)
  foreach(dir IN LISTS ARGN)
    file(GLOB dir_sources CONFIGURE_DEPENDS ${dir}/*.cpp)
    list(APPEND sources ${dir_sources})
  endforeach()
  set(${out_var} ${sources} PARENT_SCOPE)
endfunction()
