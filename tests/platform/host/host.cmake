# The headless host's tests. Included from tests/, so paths start there.

# A tiny program over the host, so that a test can see how a real process
# is refused or ended.
add_executable(host_headless_probe ${CMAKE_CURRENT_SOURCE_DIR}/platform/host/probe.cpp)
zandrel_warnings(host_headless_probe)
target_link_libraries(host_headless_probe PRIVATE zandrel_layer_headless)

zandrel_test(platform_host_test
    ${CMAKE_CURRENT_SOURCE_DIR}/platform/host/input_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/platform/host/script_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/platform/host/settings_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/platform/host/windows_test.cpp
)
target_link_libraries(platform_host_test PRIVATE zandrel_host_headless zandrel_png)
target_compile_definitions(platform_host_test PRIVATE
    HEADLESS_PROBE="$<TARGET_FILE:host_headless_probe>")
add_dependencies(platform_host_test host_headless_probe)

# The SDL host's start-up, through the game's program for people.
if(TARGET zandrel-sdl)
    add_executable(sdl_tick_probe ${CMAKE_CURRENT_SOURCE_DIR}/platform/host/sdl_tick_probe.cpp)
    zandrel_warnings(sdl_tick_probe)
    target_link_libraries(sdl_tick_probe PRIVATE zandrel_layer_sdl)
    zandrel_test(sdl_start_test ${CMAKE_CURRENT_SOURCE_DIR}/platform/host/sdl_start_test.cpp)
    target_compile_definitions(sdl_start_test PRIVATE
        ZANDREL_SDL_PROGRAM="$<TARGET_FILE:zandrel-sdl>"
        SDL_TICK_PROBE="$<TARGET_FILE:sdl_tick_probe>")
    add_dependencies(sdl_start_test zandrel-sdl sdl_tick_probe)
endif()
