# Embedded pictures (scrambling, loading), picture preparation and frame statistics.
# Included by app/CMakeLists.txt.

# The keyed XOR stream and the loading of the two pictures through the resource store.
add_library(mq_pictures STATIC
  ${CMAKE_CURRENT_LIST_DIR}/scramble.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pictures.cpp)
target_include_directories(mq_pictures PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(mq_pictures PUBLIC mq_platform_api)
mq_warnings(mq_pictures)
