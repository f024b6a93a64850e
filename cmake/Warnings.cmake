# Warning flags for the project's own targets (not for third-party code).
function(haruvi_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow=local
    -Wnon-virtual-dtor -Wcast-align -Woverloaded-virtual -Wimplicit-fallthrough)
  if(HARUVI_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
