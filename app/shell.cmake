# Start-up, main loop, window and input handlers, and the Linux executable.
# Included by app/CMakeLists.txt.

# The fixed texts stand alone.
add_library(mq_texts STATIC ${CMAKE_CURRENT_LIST_DIR}/texts.cpp)
target_include_directories(mq_texts PUBLIC ${PROJECT_SOURCE_DIR})
mq_warnings(mq_texts)

# The Linux player's command line, its help and version texts.
add_library(mq_command_line STATIC ${CMAKE_CURRENT_LIST_DIR}/command_line.cpp)
target_include_directories(mq_command_line PUBLIC ${PROJECT_SOURCE_DIR})
mq_warnings(mq_command_line)

# The portable shell, once every piece it drives is part of the build.
set(mq_shell_parts mq_display mq_engine mq_clock mq_pictures mq_picture_preparation mq_picture_switch
    mq_frame_statistics mq_shell_state mq_platform_api)
set(mq_shell_ready ON)
foreach(part ${mq_shell_parts})
  if(NOT TARGET ${part})
    set(mq_shell_ready OFF)
  endif()
endforeach()
if(NOT mq_shell_ready)
  return()
endif()

add_library(mq_shell STATIC
  ${CMAKE_CURRENT_LIST_DIR}/display_modes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_handlers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_loop.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shell.cpp)
target_include_directories(mq_shell PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(mq_shell PUBLIC mq_texts ${mq_shell_parts})
mq_warnings(mq_shell)

# The Linux player over SDL2 with the pictures compiled in.
if(NOT WIN32 AND TARGET mq_platform_sdl2 AND TARGET mq_embedded_resource_store
   AND COMMAND mq_embed_pictures)
  add_executable(moviquel ${PROJECT_SOURCE_DIR}/platform/sdl2/sdl2_main.cpp)
  target_link_libraries(moviquel PRIVATE mq_shell mq_command_line mq_platform_sdl2
                        mq_embedded_resource_store)
  mq_embed_pictures(moviquel)
  mq_warnings(moviquel)
endif()
