# Per-target settings shared by every target of the project.
#
# Floating-point contraction is off everywhere: a fused multiply-add would
# change the last digit of a rating, and the report must be reproducible.
function(slabrating_target_settings target)
  if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -ffp-contract=off)
    if(SLABRATING_WERROR)
      target_compile_options(${target} PRIVATE -Werror)
    endif()
  endif()
  if(SLABRATING_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()
