# Embedded pictures (scrambling, loading), picture preparation and frame statistics.
# Included by app/CMakeLists.txt.

# The keyed XOR stream and the loading of the two pictures through the resource store.
add_library(mq_pictures STATIC
  ${CMAKE_CURRENT_LIST_DIR}/scramble.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pictures.cpp)
target_include_directories(mq_pictures PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(mq_pictures PUBLIC mq_platform_api)
mq_warnings(mq_pictures)

# Decoding a picture and centring it in the SourceImage.
add_library(mq_picture_preparation STATIC ${CMAKE_CURRENT_LIST_DIR}/picture_preparation.cpp)
target_include_directories(mq_picture_preparation PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(mq_picture_preparation PUBLIC mq_jpeg mq_engine)
mq_warnings(mq_picture_preparation)

# The picture switch: picture, pixel format, scene and cursor change together.
add_library(mq_picture_switch STATIC ${CMAKE_CURRENT_LIST_DIR}/picture_switch.cpp)
target_include_directories(mq_picture_switch PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(mq_picture_switch PUBLIC
  mq_picture_preparation mq_pictures mq_display mq_engine mq_shell_state mq_platform_api)
mq_warnings(mq_picture_switch)

# The frame-time read-out of key P.
add_library(mq_frame_statistics STATIC ${CMAKE_CURRENT_LIST_DIR}/frame_statistics.cpp)
target_include_directories(mq_frame_statistics PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(mq_frame_statistics PUBLIC mq_display mq_engine mq_clock)
mq_warnings(mq_frame_statistics)
