# The game on the layer's headless host: its rules and handler in-process,
# and the whole program as a child process driven by scripts.
if(NOT WIN32)
    zandrel_test(game_test
        ${CMAKE_CURRENT_LIST_DIR}/game_rules_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/game_handler_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/game_program_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/game_icon_test.cpp
    )
    target_link_libraries(game_test PRIVATE zandrel_game_core zandrel_image_compare)
    target_compile_definitions(game_test PRIVATE
        ZANDREL_GAME_PROGRAM="$<TARGET_FILE:zandrel>"
        ZANDREL_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    add_dependencies(game_test zandrel)
endif()
