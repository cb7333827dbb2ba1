# Warnings for the project's own targets; third-party headers are included as system headers.
function(ostrel_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wnon-virtual-dtor -Wold-style-cast
    -Woverloaded-virtual -Wnull-dereference -Wdouble-promotion -Wimplicit-fallthrough)
  if(OSTREL_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
