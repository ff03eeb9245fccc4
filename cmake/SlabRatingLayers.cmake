# Layers the build enforces. Each library's public include folder holds its own layer only:
# <build>/include/<layer>/<layer> is a link to the layer's source folder, so that
# `#include "engine/rating.h"` reaches the engine from any target that links it, and a layer
# sees only itself and the layers it links, never one above it.
function(slabrating_layer_includes target layer)
  set(root ${PROJECT_BINARY_DIR}/include/${layer})
  file(MAKE_DIRECTORY ${root})
  if(NOT EXISTS ${root}/${layer})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${layer} ${root}/${layer} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC ${root})
endfunction()
