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
if(TARGET mq_jpeg AND TARGET mq_engine)
  add_library(mq_picture_preparation STATIC ${CMAKE_CURRENT_LIST_DIR}/picture_preparation.cpp)
  target_include_directories(mq_picture_preparation PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(mq_picture_preparation PUBLIC mq_jpeg mq_engine)
  mq_warnings(mq_picture_preparation)
endif()
