# The window's picture files (bitmap and icon encoders and their strict reader). Plain C++: both
# the program and the build-time artwork tool link it.
add_library(zanthera_images STATIC ${CMAKE_CURRENT_LIST_DIR}/ImageFiles.cpp)
target_link_libraries(zanthera_images PUBLIC zanthera_includes)
