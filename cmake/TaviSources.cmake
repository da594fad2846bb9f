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

# Gives `target` (as PUBLIC) an include root that shows the folder src/`folder`
# and nothing else of src/. A layer's own root, with the roots of the layers
# below that it links, is all it sees: an include that goes the wrong way,
# up the layers, is not found and fails to build.
function(tavi_layer_include_root target folder)
  set(root ${CMAKE_BINARY_DIR}/layers/${folder})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${root})
endfunction()
