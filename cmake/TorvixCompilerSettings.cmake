# Compiler settings shared by every target of the project.

# torvix_warnings(target): warnings are errors on every target we own.
function(torvix_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  # g++ 12 at -O3 warns falsely of overlapping copies inside std::string
  # concatenation (its bug 105329); the warning stays, as a warning.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-error=restrict)
  endif()
endfunction()

# float32 arithmetic exactly as written: no multiply and add fused into one rounding, on any
# target or instruction set.
add_compile_options(-ffp-contract=off)

if(CMAKE_SYSTEM_PROCESSOR MATCHES "i[3-6]86" OR CMAKE_CXX_COMPILER MATCHES "i686")
  # Keep float32 arithmetic exact on 32-bit x86: SSE2, never the x87 stack.
  add_compile_options(-msse2 -mfpmath=sse)
endif()

if(WIN32)
  # The DLL and the tools must run with nothing beside them.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

# TORVIX_SANITIZE is a list for -fsanitize=, e.g. "address,undefined". Any
# report ends the program, so a test cannot pass over undefined behaviour.
if(TORVIX_SANITIZE)
  add_compile_options(-fsanitize=${TORVIX_SANITIZE} -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=${TORVIX_SANITIZE} -fno-sanitize-recover=all)
endif()
