# Debian's hardening, as `DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags` gives it
# (position-independent executables are the compiler's default there): checked libc calls
# (_FORTIFY_SOURCE), stack protector, read-only relocations bound at start-up. For the
# optimised native builds, which make the package: fortification needs optimisation, and the
# sanitizer and fuzzing builds bring checks of their own.
option(MQ_HARDENING "Build with Debian's hardening flags (optimised native builds)" ON)
if(MQ_HARDENING AND NOT CMAKE_CROSSCOMPILING AND NOT MQ_SANITIZE AND NOT MQ_SANITIZE_THREADS
   AND CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$"
   AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_definitions(_FORTIFY_SOURCE=2)
  add_compile_options(-fstack-protector-strong)
  add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()
