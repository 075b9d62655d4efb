# Tests of the shell: texts, window and dialog handlers, start-up, main loop and frame step
# over the in-memory platform. Included by tests/app/CMakeLists.txt.

add_executable(app_shell_texts_tests ${CMAKE_CURRENT_LIST_DIR}/shell_texts_tests.cpp)
target_link_libraries(app_shell_texts_tests PRIVATE mq_texts GTest::gtest_main)
mq_warnings(app_shell_texts_tests)
gtest_discover_tests(app_shell_texts_tests)

add_executable(app_command_line_tests ${CMAKE_CURRENT_LIST_DIR}/command_line_tests.cpp)
target_link_libraries(app_command_line_tests PRIVATE mq_command_line GTest::gtest_main)
mq_warnings(app_command_line_tests)
gtest_discover_tests(app_command_line_tests)

if(TARGET mq_shell AND TARGET mq_platform_fake AND TARGET mq_embedded_pictures)
  add_executable(app_shell_tests
    ${CMAKE_CURRENT_LIST_DIR}/shell_test_support.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frame_render_tests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/shell_handler_tests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/shell_loop_tests.cpp)
  target_link_libraries(app_shell_tests PRIVATE
    mq_shell mq_platform_fake mq_embedded_resource_store mq_embedded_pictures GTest::gtest_main)
  mq_warnings(app_shell_tests)
  gtest_discover_tests(app_shell_tests)
endif()
