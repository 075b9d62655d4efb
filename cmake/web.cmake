# The browser build (emscripten): the portable core, its unit tests run under Node.js, and
# the page over platform/web. Included by the top-level CMakeLists.txt when EMSCRIPTEN.

# Emscripten's JavaScript optimiser runs under Node.js at link time and needs Debian's
# acorn module, which a Node.js other than Debian's (first on the PATH) finds only here.
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
set(CMAKE_C_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)

# The test programs run under Node.js. Its fetch (on by default from Node.js 18) would make
# emscripten 3.1.6's loader fetch the .wasm by its path, which fails; without it the loader
# reads the file.
find_program(MQ_NODE NAMES node nodejs REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${MQ_NODE} --no-experimental-fetch)

# The decoder reports its failures internally by exception and catches them at its entry
# points: WebAssembly's own exception handling (no cost until one is thrown; Chrome 95,
# Firefox 100, Safari 15.2, Node.js 17 and later) instead of emscripten's default, which
# catches none.
add_compile_options(-fwasm-exceptions)
add_link_options(-fwasm-exceptions)

# WebAssembly's 128-bit vectors (Chrome 91, Firefox 89, Safari 16.4, Node.js 16.4 and later):
# clang vectorises the engine's batch loops four lanes wide.
add_compile_options(-msimd128)

# One thread: the decoder's second row thread stays off.
add_compile_definitions(MQ_JPEG_NO_THREADS)

# GoogleTest from the sources Debian ships (libgtest-dev), compiled for WebAssembly, under
# the names find_package(GTest) gives (GTest::gtest, GTest::gtest_main).
function(mq_web_googletest)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endfunction()

# What every test program and tool of the web build links: the host's files (test data,
# the peer corpus, temporary files) through Node.js, a heap that grows, the exit code
# handed to Node.js, and std::system and getpid served by Node.js (tests/web).
function(mq_web_node_programs)
  add_link_options(-sNODERAWFS=1 -sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=1
                   -sENVIRONMENT=node)
  link_libraries(mq_web_node_support)
endfunction()

# The test programs (tests/CMakeLists.txt): one Node.js run per program, whose GoogleTest
# output names a failing case, instead of a discovery run and one Node.js start (about a
# second) per case; and linked at -O1, which leaves out the link step's wasm-opt and
# JavaScript optimiser (15 s a program at -O3). Their objects and the libraries under test
# keep the page's optimisation; the page and the tools link at -O3.
function(mq_web_test_programs)
  add_link_options(-O1)
  function(gtest_discover_tests target)
    cmake_parse_arguments(arg "" "DISCOVERY_TIMEOUT" "PROPERTIES" ${ARGN})
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES TIMEOUT 600 ${arg_PROPERTIES})
  endfunction()
endfunction()
