# mq_require_tool(VAR PROGRAM PACKAGE): finds PROGRAM into VAR. A missing tool does not quietly
# drop the checks that need it: a test "MissingTool.PROGRAM" fails and names the Debian package
# to install, so that no run passes on a machine that lacks it.
function(mq_require_tool var program package)
  find_program(${var} ${program})
  if(${var} OR TEST MissingTool.${program})
    return()
  endif()
  message(WARNING "${program} is missing: apt-get install ${package} "
                  "(scripts/install-deps installs it)")
  add_test(NAME MissingTool.${program}
           COMMAND ${CMAKE_COMMAND} -DPROGRAM=${program} -DPACKAGE=${package}
                   -P ${PROJECT_SOURCE_DIR}/cmake/missing_tool.cmake)
endfunction()
