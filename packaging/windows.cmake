# The Windows zip: moviquel.exe, unchanged (it is stripped when linked), the screen saver
# moviquel.scr beside it, and a short read-me
# with Windows line ends, in one folder named after the package.
# Included by packaging/CMakeLists.txt.
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/windows/README.txt.in
               ${CMAKE_CURRENT_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE WIN32)

install(TARGETS moviquel moviquel_scr RUNTIME DESTINATION .)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/README.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_SYSTEM_NAME win32)
