# Display device, text labels, set-up, upload and recovery (included by CMakeLists.txt).
add_library(mq_display STATIC
  ${CMAKE_CURRENT_LIST_DIR}/display_device.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_label.cpp
  ${CMAKE_CURRENT_LIST_DIR}/display_setup.cpp)
target_include_directories(mq_display PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(mq_display PUBLIC mq_platform_api)
if(TARGET mq_pixel_format)
  target_link_libraries(mq_display PUBLIC mq_pixel_format)
endif()
mq_warnings(mq_display)
