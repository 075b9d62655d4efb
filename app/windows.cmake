# The Windows executable, build/windows/moviquel.exe: the Win32 entry point over the
# portable shell, the DirectDraw/GDI/USER32 backends and the resource script (icon, menu,
# accelerators, About dialog, version block and the two scrambled pictures).
# Included by app/CMakeLists.txt; only a Windows build defines it.
if(NOT WIN32 OR NOT TARGET mq_platform_win32)
  return()
endif()

enable_language(RC)

set(mq_rc ${PROJECT_SOURCE_DIR}/resources/moviquel.rc)
set(mq_win_main_sources ${PROJECT_SOURCE_DIR}/platform/win32/win_main.cpp)
if(NOT TARGET mq_shell)
  # Until the shell is part of the build, a stand-in start-up opens the bare window.
  list(APPEND mq_win_main_sources ${PROJECT_SOURCE_DIR}/platform/win32/shell_pending.cpp)
endif()

add_executable(moviquel WIN32 ${mq_win_main_sources} ${mq_rc})
set_target_properties(moviquel PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
target_include_directories(moviquel PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/resources)
target_link_libraries(moviquel PRIVATE mq_platform_win32)
if(TARGET mq_shell)
  target_link_libraries(moviquel PRIVATE mq_shell)
endif()
mq_warnings(moviquel)

# The resource compiler reads the icon and the ids too; rebuild the resources when they change.
set_property(SOURCE ${mq_rc} APPEND PROPERTY OBJECT_DEPENDS
  ${PROJECT_SOURCE_DIR}/resources/moviquel.ico ${PROJECT_SOURCE_DIR}/resources/resource_ids.h)
if(COMMAND mq_embed_pictures)
  mq_embed_pictures(moviquel RC ${mq_rc})
endif()
