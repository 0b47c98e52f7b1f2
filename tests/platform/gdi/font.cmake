zandrel_test(gdi_font_test ${CMAKE_CURRENT_SOURCE_DIR}/platform/gdi/font_test.cpp)
target_link_libraries(gdi_font_test PRIVATE zandrel_gdi_font)
