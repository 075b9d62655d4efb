# End-to-end checks of the Windows executable, run from the Linux build: its resources as
# wrestool lists them, and the player itself under Wine in Xvfb (full screen refused on a
# 24-bit screen with the windowed fallback; exclusive full screen on a 16-bit 640x480
# screen). scripts/test builds the windows preset first and passes its folder in
# MQ_WINDOWS_BUILD_DIR; without moviquel.exe there, or without Wine, nothing is registered.
set(MQ_WINDOWS_BUILD_DIR "" CACHE PATH "Build folder of the windows preset (holds moviquel.exe)")
if(NOT MQ_WINDOWS_BUILD_DIR OR NOT EXISTS ${MQ_WINDOWS_BUILD_DIR}/moviquel.exe)
  message(STATUS "Windows checks: no moviquel.exe in '${MQ_WINDOWS_BUILD_DIR}', not registered")
  return()
endif()
set(mq_windows_exe ${MQ_WINDOWS_BUILD_DIR}/moviquel.exe)
set(mq_windows_scr ${MQ_WINDOWS_BUILD_DIR}/moviquel.scr)
set(mq_windows_scripts ${CMAKE_CURRENT_SOURCE_DIR}/windows)

mq_require_tool(MQ_WRESTOOL wrestool icoutils)
mq_require_tool(MQ_ICOTOOL icotool icoutils)
add_test(NAME WindowsExecutable.CarriesEveryResourceWithItsIdAndType
         COMMAND bash ${mq_windows_scripts}/check_resources.sh wrestool ${mq_windows_exe})

# The resources' contents, read back from the executable by a parser of its own.
add_executable(windows_resources_tests ${CMAKE_CURRENT_SOURCE_DIR}/windows_resources_tests.cpp)
target_compile_definitions(windows_resources_tests PRIVATE MQ_WINDOWS_EXE="${mq_windows_exe}")
target_link_libraries(windows_resources_tests PRIVATE GTest::gtest_main mq_warnings)
gtest_discover_tests(windows_resources_tests)

# Wine. Debian's 32-bit loader runs the executable itself. A kernel without 32-bit Linux
# programs (the loader then fails with "Exec format error") still runs the 64-bit loader;
# there a 64-bit build of the same sources stands in for the run checks. Where the host cannot
# install wine32 but the kernel runs 32-bit programs, scripts/test gives the Debian root of
# scripts/wine-root in MQ_WINE_ROOT, and the checks run that root's Wine instead.
set(MQ_WINE_ROOT "" CACHE PATH "Debian root whose Wine runs the Windows checks (scripts/wine-root)")
set(mq_wine32_loader /usr/lib/wine/wine)
# As Debian's own wineserver wrapper does: the 64-bit server serves 32-bit programs too.
find_program(mq_wine32_server NAMES wineserver64 wineserver32 PATHS /usr/lib/wine
             NO_DEFAULT_PATH)
set(mq_wine64_loader /usr/lib/wine/wine64)
set(mq_wine64_server /usr/lib/wine/wineserver64)
# mq_wine_root_wrappers(ROOT DIR PREFIX): wrappers in DIR that run Wine's loaders and server
# in ROOT, with the work tree and the build folder at their own paths there; sets
# PREFIX32_loader, PREFIX32_server, PREFIX64_loader and PREFIX64_server to them.
function(mq_wine_root_wrappers root dir prefix)
  file(MAKE_DIRECTORY ${dir})
  # Inside, Debian's 64-bit server serves both loaders (the root always has wine64).
  set(inside_server /usr/lib/wine/wineserver64)
  foreach(bits 32 64)
    set(inside_loader ${mq_wine${bits}_loader})
    foreach(program loader server)
      set(wrapper ${dir}/wine${bits}-${program})
      if(program STREQUAL loader)
        set(inside ${inside_loader})
      else()
        set(inside ${inside_server})
      endif()
      file(WRITE ${wrapper} "#!/bin/sh\nexec ${mq_windows_scripts}/in_wine_root.sh \"${root}\" \"${PROJECT_SOURCE_DIR}:${PROJECT_BINARY_DIR}\" ${inside_loader} ${inside_server} ${inside} \"$@\"\n")
      file(CHMOD ${wrapper} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
           GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
      set(${prefix}${bits}_${program} ${wrapper} PARENT_SCOPE)
    endforeach()
  endforeach()
endfunction()
# The Debian 13 root of scripts/wine-root --preview, whose Wine shows the screen saver's
# preview drawn into its host's window (Debian 12's does not).
set(MQ_PREVIEW_WINE_ROOT "" CACHE PATH
    "Debian root whose Wine shows the screen saver's preview (scripts/wine-root --preview)")
if(MQ_PREVIEW_WINE_ROOT)
  mq_wine_root_wrappers(${MQ_PREVIEW_WINE_ROOT} ${CMAKE_CURRENT_BINARY_DIR}/wine-preview-root
                        mq_preview_wine)
endif()
if(MQ_WINE_ROOT)
  mq_wine_root_wrappers(${MQ_WINE_ROOT} ${CMAKE_CURRENT_BINARY_DIR}/wine-root mq_wine)
  message(STATUS "Windows checks: Wine of the root ${MQ_WINE_ROOT}")
endif()
function(mq_wine_runs loader result)
  set(${result} OFF PARENT_SCOPE)
  # A missing loader fails to start, which counts as not running.
  execute_process(COMMAND ${loader} --version RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET
                  TIMEOUT 30)
  if(status EQUAL 0)
    set(${result} ON PARENT_SCOPE)
  endif()
endfunction()
mq_wine_runs(${mq_wine32_loader} mq_wine32_runs)
mq_wine_runs(${mq_wine64_loader} mq_wine64_runs)
mq_require_tool(MQ_TOOL_Xvfb Xvfb xvfb)
mq_require_tool(MQ_TOOL_xdotool xdotool xdotool)
mq_require_tool(MQ_TOOL_xprop xprop x11-utils)
foreach(tool import convert compare identify)
  mq_require_tool(MQ_TOOL_${tool} ${tool} imagemagick)
endforeach()
mq_require_tool(MQ_TOOL_djpeg djpeg libjpeg-turbo-progs)

if(mq_wine32_runs)
  set(mq_run_exe ${mq_windows_exe})
  set(mq_run_toolchain ${PROJECT_SOURCE_DIR}/cmake/toolchain-mingw-i686.cmake)
  set(mq_run_cc_name i686-w64-mingw32-gcc)
  set(mq_wine_loader ${mq_wine32_loader})
  set(mq_wine_server ${mq_wine32_server})
  set(mq_wine_prefix ${CMAKE_CURRENT_BINARY_DIR}/wine32-prefix)
  set(mq_run_depends "")
elseif(mq_wine64_runs)
  # The 64-bit build needs its own cross compiler.
  mq_require_tool(MQ_X86_64_MINGW x86_64-w64-mingw32-g++-posix g++-mingw-w64-x86-64)
  if(NOT MQ_X86_64_MINGW)
    return()
  endif()
  message(STATUS "Windows checks: 32-bit Wine cannot run here; the Wine runs use a 64-bit build")
  include(ExternalProject)
  set(MQ_WINDOWS64_JOBS 2 CACHE STRING "Parallel jobs of the 64-bit Windows build for the Wine runs")
  set(mq_windows64_dir ${CMAKE_CURRENT_BINARY_DIR}/windows64)
  ExternalProject_Add(mq_windows64
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${mq_windows64_dir}
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/toolchain-mingw-x86_64.cmake
               -DCMAKE_BUILD_TYPE=Release -DMQ_BUILD_TESTS=OFF -DMQ_BUILD_TOOLS=OFF
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target moviquel -j ${MQ_WINDOWS64_JOBS}
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${mq_windows64_dir}/moviquel.exe)
  set(mq_run_exe ${mq_windows64_dir}/moviquel.exe)
  set(mq_run_toolchain ${PROJECT_SOURCE_DIR}/cmake/toolchain-mingw-x86_64.cmake)
  set(mq_run_cc_name x86_64-w64-mingw32-gcc)
  set(mq_wine_loader ${mq_wine64_loader})
  set(mq_wine_server ${mq_wine64_server})
  set(mq_wine_prefix ${CMAKE_CURRENT_BINARY_DIR}/wine64-prefix)
else()
  # No Wine loader runs here (none installed, or only the 32-bit one on a kernel without
  # 32-bit programs): the runs cannot be made, and that must not pass unnoticed.
  message(WARNING "no Wine runs here: apt-get install wine wine64 wine32:i386")
  add_test(NAME MissingTool.wine
           COMMAND ${CMAKE_COMMAND} "-DPROGRAM=a Wine that runs here"
                   "-DPACKAGE=wine wine64 wine32:i386"
                   -P ${PROJECT_SOURCE_DIR}/cmake/missing_tool.cmake)
  return()
endif()

set(mq_pictures ${PROJECT_SOURCE_DIR}/resources/main_picture.jpg
                ${PROJECT_SOURCE_DIR}/resources/info_picture.jpg)
foreach(check windowed_fallback full_screen)
  if(check STREQUAL windowed_fallback)
    set(name WindowsUnderWine.FullScreenRefusedOn24BitScreenThenRunsWindowed)
  else()
    set(name WindowsUnderWine.RunsExclusiveFullScreenOn16BitScreen)
  endif()
  add_test(NAME ${name}
           COMMAND bash ${mq_windows_scripts}/${check}.sh ${mq_run_exe} ${mq_pictures})
  set_tests_properties(${name} PROPERTIES
    TIMEOUT 600
    RESOURCE_LOCK wine_prefix
    ENVIRONMENT "MQ_WINE_LOADER=${mq_wine_loader};MQ_WINE_SERVER=${mq_wine_server};MQ_WINE_PREFIX=${mq_wine_prefix};MQ_OUT=${CMAKE_CURRENT_BINARY_DIR}/wine-${check}")
endforeach()

# Recovery on the exclusive full screen: another program in front, then the window minimised;
# each time restored as through the taskbar by a small helper built with MinGW.
set(mq_wine_environment
    "MQ_WINE_LOADER=${mq_wine_loader};MQ_WINE_SERVER=${mq_wine_server};MQ_WINE_PREFIX=${mq_wine_prefix}")
find_program(MQ_RUN_CC ${mq_run_cc_name})
if(MQ_RUN_CC)
  add_test(NAME WindowsUnderWine.ThePictureComesBackAfterAnotherProgramAndAfterMinimising
           COMMAND bash ${mq_windows_scripts}/recovery.sh ${mq_run_exe}
                   ${PROJECT_SOURCE_DIR}/resources/main_picture.jpg
                   ${mq_windows_scripts}/show_player.c ${MQ_RUN_CC})
  set_tests_properties(WindowsUnderWine.ThePictureComesBackAfterAnotherProgramAndAfterMinimising
    PROPERTIES TIMEOUT 600 RESOURCE_LOCK wine_prefix
    ENVIRONMENT "${mq_wine_environment};MQ_OUT=${CMAKE_CURRENT_BINARY_DIR}/wine-recovery")
else()
  message(STATUS "Windows checks: ${mq_run_cc_name} not found, recovery run not registered")
endif()

# The screen saver (moviquel.scr, 32-bit Wine only): its run ends on a key and on a move of
# the pointer but not on a jitter; its settings dialog keeps a folder, whose photo the run
# then plays.
if(mq_wine32_runs)
  foreach(check run settings)
    if(check STREQUAL run)
      set(name WindowsUnderWine.SaverRunEndsOnAKeyAndAMoveButNotOnAJitter)
    else()
      set(name WindowsUnderWine.SaverSettingsKeepAFolderWhosePhotoTheRunPlays)
    endif()
    add_test(NAME ${name}
             COMMAND bash ${mq_windows_scripts}/saver_${check}.sh ${mq_windows_scr}
                     ${PROJECT_SOURCE_DIR}/resources/main_picture.jpg)
    set_tests_properties(${name} PROPERTIES TIMEOUT 600 RESOURCE_LOCK wine_prefix
      ENVIRONMENT "${mq_wine_environment};MQ_OUT=${CMAKE_CURRENT_BINARY_DIR}/wine-saver-${check}")
  endforeach()
  if(MQ_RUN_CC)
    add_test(NAME WindowsUnderWine.SaverPreviewRunsInAHostWindowAndEndsWithIt
             COMMAND bash ${mq_windows_scripts}/saver_preview.sh ${mq_windows_scr}
                     ${mq_windows_scripts}/preview_host.c ${MQ_RUN_CC})
    set_tests_properties(WindowsUnderWine.SaverPreviewRunsInAHostWindowAndEndsWithIt PROPERTIES
      TIMEOUT 600 RESOURCE_LOCK wine_prefix
      ENVIRONMENT "${mq_wine_environment};MQ_OUT=${CMAKE_CURRENT_BINARY_DIR}/wine-saver-preview")
    # The preview's picture in the host's box, under the Wine that shows it.
    if(MQ_PREVIEW_WINE_ROOT)
      set(name WindowsUnderWine.SaverPreviewShowsThePictureScaledIntoItsHostsBox)
      add_test(NAME ${name}
               COMMAND bash ${mq_windows_scripts}/saver_preview.sh ${mq_windows_scr}
                       ${mq_windows_scripts}/preview_host.c ${MQ_RUN_CC}
                       ${PROJECT_SOURCE_DIR}/resources/main_picture.jpg)
      set_tests_properties(${name} PROPERTIES TIMEOUT 600 RESOURCE_LOCK wine_prefix
        ENVIRONMENT "MQ_WINE_LOADER=${mq_preview_wine32_loader};MQ_WINE_SERVER=${mq_preview_wine32_server};MQ_WINE_PREFIX=${CMAKE_CURRENT_BINARY_DIR}/wine-preview-prefix;MQ_OUT=${CMAKE_CURRENT_BINARY_DIR}/wine-saver-preview-picture")
    endif()
  endif()
endif()

# Players built with a damaged main picture, in a sub-build of the player alone with the
# same toolchain as the executable run above.
add_test(NAME WindowsUnderWine.ADamagedMainPictureIsToldThenTheExitCodeIsZero
         COMMAND bash ${mq_windows_scripts}/damaged_pictures.sh ${PROJECT_SOURCE_DIR}
                 ${mq_run_toolchain})
set_tests_properties(WindowsUnderWine.ADamagedMainPictureIsToldThenTheExitCodeIsZero PROPERTIES
  TIMEOUT 900 RESOURCE_LOCK wine_prefix
  ENVIRONMENT "${mq_wine_environment};MQ_OUT=${CMAKE_CURRENT_BINARY_DIR}/wine-damaged")
