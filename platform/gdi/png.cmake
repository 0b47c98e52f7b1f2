# The PNG codec, for screen captures and golden images. It depends on nothing,
# so the Windows builds of the tests, which do not build this folder, make the
# same library from tests/platform/gdi/png.cmake.
add_library(zandrel_png STATIC ${CMAKE_CURRENT_SOURCE_DIR}/png.cpp)
zandrel_warnings(zandrel_png)
target_include_directories(zandrel_png PUBLIC ${PROJECT_SOURCE_DIR})
