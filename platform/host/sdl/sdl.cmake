# The SDL host: the layer's top-level windows as real windows. Only this
# library includes SDL.
find_package(SDL2 REQUIRED)
find_package(X11 REQUIRED)
zandrel_library(zandrel_host_sdl
    sdl/display.cpp
    sdl/events.cpp
    sdl/keys.cpp
    sdl/start.cpp
    sdl/trace.cpp
    sdl/windows.cpp
)
target_include_directories(zandrel_host_sdl PUBLIC ${PROJECT_SOURCE_DIR}/platform/include)
target_link_libraries(zandrel_host_sdl PRIVATE SDL2::SDL2 X11::X11)

# The whole layer over the SDL host, as the game's program for people links it.
add_library(zandrel_layer_sdl INTERFACE)
target_link_libraries(zandrel_layer_sdl INTERFACE
    zandrel_platform_user zandrel_platform_gdi zandrel_platform_kernel zandrel_host_sdl)
