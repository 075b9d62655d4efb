# Start-up, main loop, window and input handlers, and the Linux command line.
# Included by app/CMakeLists.txt.

# The fixed texts stand alone.
add_library(mq_texts STATIC ${CMAKE_CURRENT_LIST_DIR}/texts.cpp)
target_include_directories(mq_texts PUBLIC ${PROJECT_SOURCE_DIR})
mq_warnings(mq_texts)

# The Linux player's command line, its help and version texts.
add_library(mq_command_line STATIC ${CMAKE_CURRENT_LIST_DIR}/command_line.cpp)
target_include_directories(mq_command_line PUBLIC ${PROJECT_SOURCE_DIR})
mq_warnings(mq_command_line)

# The portable shell.
add_library(mq_shell STATIC
  ${CMAKE_CURRENT_LIST_DIR}/display_modes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_handlers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_loop.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shell.cpp)
target_include_directories(mq_shell PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(mq_shell PUBLIC mq_texts mq_display mq_engine mq_clock mq_pictures
                      mq_picture_preparation mq_picture_switch mq_frame_statistics mq_shell_state
                      mq_platform_api)
mq_warnings(mq_shell)
