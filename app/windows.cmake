# The Windows executable, build/windows/moviquel.exe: the Win32 entry point over the
# portable shell, the DirectDraw/GDI/USER32 backends and the resource script (icon, menu,
# accelerators, About dialog, version block and the two scrambled pictures).
# Included by app/CMakeLists.txt; only a Windows build defines it.
if(NOT WIN32 OR NOT TARGET mq_platform_win32)
  return()
endif()
if(NOT TARGET mq_shell)
  message(WARNING "moviquel.exe not defined: the portable shell (mq_shell) is not part of the build")
  return()
endif()

enable_language(RC)

set(mq_rc ${PROJECT_SOURCE_DIR}/resources/moviquel.rc)
add_executable(moviquel WIN32 ${PROJECT_SOURCE_DIR}/platform/win32/win_main.cpp ${mq_rc})
set_target_properties(moviquel PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
target_include_directories(moviquel PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/resources)
target_link_libraries(moviquel PRIVATE mq_shell mq_platform_win32)
mq_warnings(moviquel)
# The shipped executable carries no symbols or debug sections (they more than double its size).
target_link_options(moviquel PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s>)

# The two scrambled pictures (JPGDATA 112 and 115) through the fragment the resources
# folder generates; the script includes it when MQ_HAVE_PICTURES is defined.
if(COMMAND mq_embed_pictures)
  mq_embed_pictures(moviquel RC ${mq_rc})
else()
  message(WARNING "moviquel.exe is built without its pictures (no mq_embed_pictures)")
endif()
# The resource compiler reads the icon and the ids too; rebuild the resources when they change.
set_property(SOURCE ${mq_rc} APPEND PROPERTY OBJECT_DEPENDS
  ${PROJECT_SOURCE_DIR}/resources/moviquel.ico ${PROJECT_SOURCE_DIR}/resources/resource_ids.h
  ${PROJECT_SOURCE_DIR}/resources/about_texts.h)
