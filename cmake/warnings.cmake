# Project-wide warning policy: every target of ours calls mq_warnings() on itself.
function(mq_warnings target)
  if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(${target} PRIVATE
      -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Werror)
  endif()
endfunction()
