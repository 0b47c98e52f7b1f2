# The classic non-client look: button rectangles, frame colours and golden
# pictures of captions, frames and the system icons. The pictures hold the
# layer's own font, so the test is the layer's alone.
if(NOT WIN32)
    zandrel_test(user_nonclient_test ${CMAKE_CURRENT_LIST_DIR}/nonclient_draw_test.cpp)
    target_link_libraries(user_nonclient_test PRIVATE
        zandrel_user_nonclient zandrel_image_compare zandrel_layer_headless)
endif()
