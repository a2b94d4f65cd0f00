# The window's picture decoders, for the forms engine that cannot hand a picture to the screen as
# it lies. Plain C++.
add_library(zanthera_images STATIC ${CMAKE_CURRENT_LIST_DIR}/PictureDecoders.cpp)
target_link_libraries(zanthera_images PUBLIC zanthera_form)
