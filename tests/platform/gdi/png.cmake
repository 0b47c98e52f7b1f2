# The PNG codec's tests and the golden-image support that other picture tests
# use. Included from tests/, so paths start there.

# Windows builds do not build platform/, so the codec is made here for them.
if(NOT TARGET zandrel_png)
    add_library(zandrel_png STATIC ${PROJECT_SOURCE_DIR}/platform/gdi/png.cpp)
    zandrel_warnings(zandrel_png)
    target_include_directories(zandrel_png PUBLIC ${PROJECT_SOURCE_DIR})
endif()

# Relative golden paths are taken from the top of the repository.
if(NOT TARGET zandrel_image_compare)
    add_library(zandrel_image_compare STATIC ${CMAKE_CURRENT_SOURCE_DIR}/support/image_compare.cpp)
    zandrel_warnings(zandrel_image_compare)
    target_include_directories(zandrel_image_compare PUBLIC ${PROJECT_SOURCE_DIR})
    target_compile_definitions(zandrel_image_compare PRIVATE
        ZANDREL_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    target_link_libraries(zandrel_image_compare PUBLIC zandrel_png GTest::gtest)
endif()

zandrel_test(gdi_png_test ${CMAKE_CURRENT_SOURCE_DIR}/platform/gdi/png_test.cpp)
target_link_libraries(gdi_png_test PRIVATE zandrel_image_compare)
target_compile_definitions(gdi_png_test PRIVATE
    ZANDREL_PNG_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/platform/gdi/data")
