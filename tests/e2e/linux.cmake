# End-to-end checks of the Linux player: the real moviquel under a private Xvfb, driven with
# xdotool and looked at with xwd and ImageMagick, each check a script in linux/.
mq_require_tool(MQ_E2E_Xvfb Xvfb xvfb)
mq_require_tool(MQ_E2E_xdotool xdotool xdotool)
mq_require_tool(MQ_E2E_xwininfo xwininfo x11-utils)
mq_require_tool(MQ_E2E_xwd xwd x11-apps)
mq_require_tool(MQ_E2E_pgrep pgrep procps)
foreach(tool convert compare identify)
  mq_require_tool(MQ_E2E_${tool} ${tool} imagemagick)
endforeach()
mq_require_tool(MQ_E2E_djpeg djpeg libjpeg-turbo-progs)
# The screensaver check makes its test window with Xlib through python3.
mq_require_tool(MQ_E2E_python3 python3 python3)
# The Wayland check runs the player under weston nested in Xvfb.
mq_require_tool(MQ_E2E_weston weston weston)

set(mq_linux_e2e_dir ${CMAKE_CURRENT_SOURCE_DIR}/linux)
function(mq_linux_e2e name script)
  add_test(NAME ${name}
           COMMAND bash ${mq_linux_e2e_dir}/${script} $<TARGET_FILE:moviquel>
                   ${PROJECT_SOURCE_DIR}/resources ${CMAKE_CURRENT_BINARY_DIR}/linux/${name})
  # Each check starts its own X server; the bound keeps a stuck one from holding the run,
  # far above the sum of what a loaded machine takes for its waits.
  set_tests_properties(${name} PROPERTIES TIMEOUT 300 LABELS e2e
    ENVIRONMENT "LSAN_OPTIONS=suppressions=${mq_linux_e2e_dir}/lsan_suppressions.txt")
endfunction()

mq_linux_e2e(LinuxPlayer.RefusedFullScreenIsToldOnceThenTheMainPictureRunsWindowed
             windowed_start.sh)
mq_linux_e2e(LinuxPlayer.WithoutZenityOrXCoreFontsTheMessageShowsInItsOwnWindow
             message_window.sh)
mq_linux_e2e(LinuxPlayer.KeysSwitchToTheFadingInfoPictureShowStatisticsAndEsc keys.sh)
mq_linux_e2e(LinuxPlayer.MinimisedItUsesNoProcessorTime minimised.sh)
mq_linux_e2e(LinuxPlayer.ScrollLockAndAMediaKeySwitchThePictureAsAnyOtherKey other_keys.sh)
mq_linux_e2e(LinuxPlayer.OnASixteenBitScreenItRunsFullScreenAndSwitchesToAWindowAndBack
             full_screen.sh)
mq_linux_e2e(LinuxPlayer.TheFileMenuStopsTheAnimationAndAboutOpensTheWebPageOnlyFromItsButton
             about.sh)
mq_linux_e2e(LinuxPlayer.OnA1920x1080DesktopItFillsTheScreenSharplyAtTwiceTheSizeWithoutAMessage
             desktop_full_screen.sh)
mq_linux_e2e(LinuxPlayer.CommandLineRefusesBadInputScalesItsWindowAndDrawsIntoAGivenWindow
             command_line.sh)
mq_linux_e2e(LinuxPlayer.OnAScreenSmallerThan640x480FullScreenIsRefusedWithTheMessage
             small_screen.sh)
mq_linux_e2e(LinuxPlayer.RunsOnWaylandItselfUnderWeston wayland.sh)
mq_linux_e2e(LinuxPlayer.PlaysAFolderOfPhotosUprightFittedInOrderOrShuffledAndNamesTheBadFiles
             photos.sh)

# Players built with a damaged picture, in a sub-build of the player alone made like this
# build (type, sanitizers, compiler launcher): four variants, each relinking only the player.
# Registered in the sanitizer build only, where it also proves that nothing leaks; one
# sub-build of the whole player is what it costs.
if(MQ_SANITIZE)
  add_test(NAME LinuxPlayer.ADamagedMainPictureIsToldAtStartUpAndADamagedInfoPictureLeavesTheMain
           COMMAND bash ${mq_linux_e2e_dir}/damaged_pictures.sh ${PROJECT_SOURCE_DIR}
                   ${CMAKE_CURRENT_BINARY_DIR}/linux/damaged_pictures ${CMAKE_BUILD_TYPE}
                   "${MQ_SANITIZE}" "${CMAKE_CXX_COMPILER_LAUNCHER}")
  set_tests_properties(
    LinuxPlayer.ADamagedMainPictureIsToldAtStartUpAndADamagedInfoPictureLeavesTheMain
    PROPERTIES TIMEOUT 900 LABELS e2e
    ENVIRONMENT "LSAN_OPTIONS=suppressions=${mq_linux_e2e_dir}/lsan_suppressions.txt")
endif()
