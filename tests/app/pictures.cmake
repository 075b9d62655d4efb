# Tests of the embedded pictures, picture preparation and frame statistics.
# Included by tests/app/CMakeLists.txt.

add_executable(app_pictures_tests
  ${CMAKE_CURRENT_LIST_DIR}/pictures_scramble_tests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pictures_load_tests.cpp)
target_link_libraries(app_pictures_tests PRIVATE
  mq_pictures mq_embedded_resource_store mq_embedded_pictures GTest::gtest_main)
target_compile_definitions(app_pictures_tests PRIVATE
  MQ_RESOURCES_DIR="${PROJECT_SOURCE_DIR}/resources")
mq_warnings(app_pictures_tests)
gtest_discover_tests(app_pictures_tests)

# Picture preparation, checked against TurboJPEG (the independent encoder and reference
# decoder); pictures go to MQ_TEST_OUTPUT_DIR for a look.
find_path(MQ_TURBOJPEG_INCLUDE_DIR turbojpeg.h)
find_library(MQ_TURBOJPEG_LIBRARY turbojpeg)
find_library(MQ_STB_LIBRARY stb)
if(TARGET mq_picture_preparation AND MQ_TURBOJPEG_LIBRARY AND MQ_STB_LIBRARY)
  add_library(mq_picture_test_support STATIC ${CMAKE_CURRENT_LIST_DIR}/picture_test_support.cpp)
  target_include_directories(mq_picture_test_support PUBLIC ${PROJECT_SOURCE_DIR})
  target_include_directories(mq_picture_test_support SYSTEM PRIVATE ${MQ_TURBOJPEG_INCLUDE_DIR})
  target_link_libraries(mq_picture_test_support PUBLIC ${MQ_TURBOJPEG_LIBRARY} ${MQ_STB_LIBRARY})
  target_compile_definitions(mq_picture_test_support PRIVATE
    MQ_TEST_OUTPUT_DIR="${CMAKE_BINARY_DIR}/test_output/pictures")
  mq_warnings(mq_picture_test_support)

  add_executable(app_picture_preparation_tests
    ${CMAKE_CURRENT_LIST_DIR}/picture_preparation_tests.cpp)
  target_link_libraries(app_picture_preparation_tests PRIVATE
    mq_picture_preparation mq_picture_test_support GTest::gtest_main)
  mq_warnings(app_picture_preparation_tests)
  gtest_discover_tests(app_picture_preparation_tests)
endif()

# The picture switch on the embedded pictures, over the in-memory platform.
if(TARGET mq_picture_switch AND TARGET mq_picture_test_support AND TARGET mq_platform_fake)
  add_executable(app_picture_switch_tests ${CMAKE_CURRENT_LIST_DIR}/picture_switch_tests.cpp)
  target_link_libraries(app_picture_switch_tests PRIVATE
    mq_picture_switch mq_picture_test_support mq_embedded_resource_store mq_embedded_pictures
    mq_platform_fake GTest::gtest_main)
  target_compile_definitions(app_picture_switch_tests PRIVATE
    MQ_RESOURCES_DIR="${PROJECT_SOURCE_DIR}/resources")
  mq_warnings(app_picture_switch_tests)
  gtest_discover_tests(app_picture_switch_tests)
endif()

# The frame statistics' text and its drawing into the frame surface.
if(TARGET mq_frame_statistics AND TARGET mq_platform_fake)
  add_executable(app_frame_statistics_tests ${CMAKE_CURRENT_LIST_DIR}/frame_statistics_tests.cpp)
  target_link_libraries(app_frame_statistics_tests PRIVATE
    mq_frame_statistics mq_platform_fake GTest::gtest_main)
  mq_warnings(app_frame_statistics_tests)
  gtest_discover_tests(app_frame_statistics_tests)
endif()

# The Windows executable's two JPGDATA resources, when the windows preset's build is given.
if(MQ_WINDOWS_BUILD_DIR AND EXISTS ${MQ_WINDOWS_BUILD_DIR}/moviquel.exe AND TARGET mq_scramble)
  mq_require_tool(MQ_WRESTOOL wrestool icoutils)
  add_test(NAME WindowsExecutable.PicturesAreScrambledAndDescrambleToTheJpegs
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/windows_pictures_check.sh wrestool
                   $<TARGET_FILE:mq_scramble> ${MQ_WINDOWS_BUILD_DIR}/moviquel.exe
                   ${PROJECT_SOURCE_DIR}/resources)
endif()
