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
